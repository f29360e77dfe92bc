#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace tarvexio {

class Dialogs;
class ErrorReport;
class EventLog;
class Privileges;
class Scheduler;
class SessionOwner;
class UploadStep;
class WindowModel;

// What the other parts of the agent ask of its window and its life.
class AgentWindow {
public:
    virtual ~AgentWindow() = default;
    // Shows the window, running the show handler as every show does.
    virtual void showWindow() = 0;
    // Nobody has looked for a while: the window comes up with the message pane.
    virtual void showMessages() = 0;
    // Closing the main window from the logic; ends the program when the handler allows, for
    // the reason given.
    virtual void Close(const QString& why = QStringLiteral("zamknięto okno programu")) = 0;
    // Ends the program once control is back in the event loop, with a log line that says why.
    virtual void terminate(const QString& why, int exitCode = 0) = 0;
    virtual bool terminating() const = 0;
};

// The main window's show and close handlers and the tray menu's commands, on the window
// model; widgets call them, the headless agent calls them where a window would.
class WindowAndTray final : public QObject, public AgentWindow {
    Q_OBJECT
public:
    struct Context {
        QStringList arguments;
        WindowModel& model;
        EventLog& log;
        SessionOwner& session;
        Scheduler& scheduler;
        UploadStep& upload;
        Privileges& privileges;
        Dialogs& dialogs;
        ErrorReport& errors;
    };

    explicit WindowAndTray(Context context, QObject* parent = nullptr);

    void showWindow() override;
    void showMessages() override;
    void Close(const QString& why = QStringLiteral("zamknięto okno programu")) override;
    void terminate(const QString& why, int exitCode = 0) override;
    bool terminating() const override { return terminating_; }

    void FormShow();
    // The close handler: true lets the window close (and the program end).
    bool FormCloseQuery();

    // The tray menu's commands.
    void KomunikatyClick();
    void PrzywrocClick();
    void ZakocznczClick();

signals:
    // Emitted once per terminate(); the process entry ends the event loop with the code.
    void terminateRequested(int exitCode);

private:
    // "Komunikaty" when the pane has something to show, "Przywróć" and "Zakończ".
    void enableTrayCommands();

    Context c_;
    bool terminating_ = false;
};

// The window's caption while the agent works: the database's name without its password.
QString workingCaption(const SessionOwner& session);

} // namespace tarvexio
