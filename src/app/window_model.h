#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace tarvexio {

enum class MainPage { Eksport, FTP, Komunikaty };

// The tray menu's commands, by their place in the menu.
enum class TrayCommand { Komunikaty, Przywroc, Zakoncz };

// What the agent's logic reads and writes of the main window. Widgets bind to it both ways;
// the headless agent has only this. Every setter that changes a value emits changed().
class WindowModel : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxPaneLines = 1000;

    struct Flags {
        bool unattended = false;
        bool tray = false;
        bool closing = false;
        bool firstShow = false;
        bool test = false;
        bool configurationLoaded = false;
    };

    explicit WindowModel(QObject* parent = nullptr);

    Flags& flags() { return flags_; }
    const Flags& flags() const { return flags_; }

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    bool windowVisible() const { return windowVisible_; }
    void setWindowVisible(bool visible);

    MainPage page() const { return page_; }
    void setPage(MainPage page);

    bool testButtonVisible() const { return testButtonVisible_; }
    void setTestButtonVisible(bool visible);

    bool autoStartBoxEnabled() const { return autoStartBoxEnabled_; }
    void setAutoStartBoxEnabled(bool enabled);

    bool trayIconShown() const { return trayIconShown_; }
    void setTrayIconShown(bool shown);

    bool trayBlinking() const { return trayBlinking_; }
    void setTrayBlinking(bool blinking);

    bool trayCommandEnabled(TrayCommand command) const;
    void setTrayCommandEnabled(TrayCommand command, bool enabled);

    const QStringList& messagePane() const { return messagePane_; }
    // Appends one line and drops the oldest beyond MaxPaneLines.
    void appendPaneLine(const QString& line);

signals:
    void changed();
    void paneLineAppended(const QString& line);
    // The window should come to the front (it is not a state, so it is a signal).
    void raiseRequested();

private:
    template <typename T> void assign(T& field, const T& value);

    Flags flags_;
    QString caption_ = QStringLiteral("Tarvexio");
    bool windowVisible_ = false;
    MainPage page_ = MainPage::Eksport;
    bool testButtonVisible_ = false;
    bool autoStartBoxEnabled_ = false;
    bool trayIconShown_ = false;
    bool trayBlinking_ = false;
    bool trayCommands_[3] = {false, false, false};
    QStringList messagePane_;
};

} // namespace tarvexio
