#pragma once

#include "app/agent_location.h"
#include "platform/directory_lock.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

namespace tarvexio {

class AgentWindow;
class Dialogs;
class EventLog;
class Scheduler;
class SessionOwner;
class WindowModel;

// The agent's start: the start timer that reads the command line and either leaves the window
// open or goes to work unattended, and the claim on the exchange directory that each connected
// session makes.
class AgentStart final : public QObject {
    Q_OBJECT
public:
    static constexpr int StartTimerMs = 1000;
    // How long an agent waits for tarvexioctl's command to end before it leaves.
    static constexpr int ToolWaitMs = 10 * 60 * 1000;

    struct Context {
        QStringList arguments;
        WindowModel& model;
        EventLog& log;
        SessionOwner& session;
        Scheduler& scheduler;
        Dialogs& dialogs;
        AgentWindow& window;
        AgentLocation location;
    };

    explicit AgentStart(Context context, QObject* parent = nullptr);

    // Arms the one-shot start timer.
    void start();
    void StartTimerTimer();

    // Why the start could not work, for a process without windows to exit with a status a
    // service manager sees.
    enum class StartFailure { None, NoNames, DatabaseRefused, BadArgument };
    StartFailure startFailure() const { return startFailure_; }
    // The start timer has read the command line: the database's names are known.
    bool argumentsRead() const { return argumentsRead_; }

    // A connection was refused: before the settings were ever loaded, the start has failed; the
    // main window closes for good (unattended, the program ends).
    void connectionRefused();
    // Two agents on one exchange directory would both export and send every day: the second
    // one leaves.
    void claimExchangeDirectory();

signals:
    // The start timer has run (whatever it decided).
    void startTimerDone();

private:
    void runStartTimer();
    // False when a missing name has ended the start.
    bool readCommandLine();
    // The name the session tried: the command line's, else the environment's or the
    // remembered one.
    QString attemptedDatabaseName() const;

    Context c_;
    QTimer startTimer_;
    StartFailure startFailure_ = StartFailure::None;
    bool argumentsRead_ = false;
    // Hidden, so that a listing of the data files does not show it.
    DirectoryLock exchangeLock_;
};

} // namespace tarvexio
