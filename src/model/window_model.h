#pragma once

#include "config/settings_record.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QStringList>

namespace tarvexio {

enum class MainPage { Eksport, FTP, Komunikaty };

// The tray menu's commands, by their place in the menu.
enum class TrayCommand { Komunikaty, Przywroc, Zakoncz };

// The settings controls of the "Eksport" and "FTP" pages, as the logic sees them, in the
// pages' order (one instance: its padding does not matter).
// NOLINTNEXTLINE(clang-analyzer-optin.performance.Padding)
struct SettingsControls {

    // "Eksport" page
    QString EdKatalogWymiany;
    QString EdSerwis_IT;
    int CSGodzEdit = 20; // 0 to 23
    int CSMinEdit = 0;   // 0 to 59
    // In the order of the consent parameters: CBCenySprzedazy, CBIloscWMag, CBWartWMag,
    // CBDzWartZakwCenZak, CBDzWartSprzwCenSprz, CBDzWartSprzwCenZak, CBDzLiczbaPar,
    // CBSrLiczbaPLUnaPar, CBSrWartPar, CBNIPKontr.
    ConsentBoxes consent{};
    QDate DateTimePicker1;
    QDate DateTimePicker2;
    QDate DataOstatniegoEksportu;
    bool DataOstatniegoEksportuEnabled = false;
    QString BtnUstawDayeOstEksp = QStringLiteral("Ustaw"); // "Zapisz" while the picker is open
    bool CBAutoStart = false;
    int CBZapisKonfig =
        0; // item index: 0 "do bazy i do pliku", 1 "tylko do bazy", 2 "tylko do pliku"
    bool CBKonfigZPliku = false;

    // "FTP" page
    QString ed_hostFTP;
    QString ed_userFTP;
    QString ed_hasloFTP;
    QString ed_folderFTP;
    QString ed_portFTP = QString::number(DefaultFtpPort); // until a record is shown
    bool portEnabled = false;                             // ed_portFTP and ud_portFTP
    bool cb_DomyslnyPortFTP = true;
    bool CbPlikPBK = false;
    QString EdPlikPBK; // also the phonebook the entries are read from
    bool cb_PbkCzyModem = false;
    QStringList pbkEntries; // items of Cb_PbkEntry
    QString Cb_PbkEntry;    // the selected entry
    QString ed_UzytkownikPbk;
    QString ed_HasloPbk;
};

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

    SettingsControls& settings() { return settings_; }
    const SettingsControls& settings() const { return settings_; }
    // Tells the widgets that settings() changed as a whole.
    void settingsShown() { emit changed(); }

    // The hourglass while a save works.
    bool busy() const { return busy_; }
    void setBusy(bool busy);

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
    SettingsControls settings_;
    bool busy_ = false;
    QStringList messagePane_;
};

} // namespace tarvexio
