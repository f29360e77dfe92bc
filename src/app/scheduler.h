#pragma once

#include "app/command_line.h"
#include "export/export_run.h"

#include <QDate>
#include <QObject>
#include <QTimer>

#include <functional>

namespace tarvexio {

class Clock;
class EventLog;
class ExportRun;
class MissingDataRequests;
class SessionOwner;
class TKonfigEksportu;
class UploadStep;
class WindowModel;

// The work timer and its tick: the first connection, then at most one day per tick (a missed
// day, the daily export, or a day a request file asks for), its upload, and the retries of
// uploads that failed. The timer's interval is the scheduler's phase: 100 ms right after
// start, the first connection delay until the first connection, then the check or retry
// period.
class Scheduler : public QObject {
    Q_OBJECT
public:
    static constexpr int StartMarkerMs = 100;

    struct Context {
        WindowModel& model;
        SessionOwner& session;
        Clock& clock;
        EventLog& log;
        QStringList& uploadList;
        ExportRun& exportRun;
        UploadStep& upload;
        MissingDataRequests& requests;
        std::function<TKonfigEksportu*()> konfig;
        // The picker, the record and the stores get the day.
        std::function<void(const QDate&)> recordExportedDay;
        // Brings the window up with the message pane.
        std::function<void()> showWindow;
        std::function<void(const std::exception&)> showException;
        // Every tick's end, whichever way it ends (the agent's status for the operator).
        std::function<void()> tickEnded;
        // Before a day's export, on its session: settings the operator changed meanwhile.
        std::function<void()> sessionOpened;
    };

    explicit Scheduler(Context context);

    SchedulerNumbers& numbers() { return numbers_; }
    int failedAttempts() const { return failedAttempts_; }
    // The last attempt has been made and its day has not gone since.
    bool attemptLimitReached() const { return attemptLimitReached_; }
    // The timer's interval, which is also the phase (start marker, first connection, ...).
    int interval() const { return timer_.interval(); }
    bool isRunning() const { return timer_.isActive(); }

    // While the window is in use or a manual export runs, no tick starts.
    void Pause() { timer_.stop(); }
    // Enables the work timer, unless the program is ending.
    void Resume();
    // The program is ending: the timer stops and stays stopped.
    void Stop();

    void TimerTimer();

private:
    // Steps that open and close the first session; false when the tick must end here.
    bool connectionPhase();
    // The day of this tick; false on an idle tick with no request due.
    bool chooseDay();
    // The scheduled export of the day and its upload; false when the tick has ended.
    bool exportDay();
    void RetryTick();
    // A day whose files were all sent: recorded, or its request line removed.
    void finishDay();
    void lastAttempt();
    // Stopped, or asked to stop by a signal that the event loop has not delivered yet.
    bool ending() const;
    void setRestoreCommands(bool enabled);
    void endTick();

    Context c_;
    QTimer timer_;
    SchedulerNumbers numbers_;
    bool stopped_ = false;
    QDateTime now_;
    QDate dataDate_;
    bool requestMode_ = false;
    DayExport dayExport_; // the day whose files are being sent
    int failedAttempts_ = 0;
    bool attemptLimitReached_ = false;
};

} // namespace tarvexio
