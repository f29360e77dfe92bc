#pragma once

#include "app/command_line.h"
#include "export/export_run.h"

#include <QDate>
#include <QObject>
#include <QTimer>

namespace tarvexio {

class Clock;
class DeliveryLedger;
class ErrorReport;
class EventLog;
class ExportRun;
class MissingDataRequests;
class RecordSource;
class SessionOwner;
class UploadStep;
class WindowModel;

// What the scheduler asks of the agent around it.
class SchedulerHost {
public:
    virtual ~SchedulerHost() = default;
    // A day whose files have all gone: the picker, the record and the stores get the day.
    virtual void recordExportedDay(const QDate& day) = 0;
    // Nobody has looked for a while: the window comes up with the message pane.
    virtual void showMessages() = 0;
    // A tick starts, before it chooses its day: settings changed outside the agent (a
    // hand-edited file, the back office's Konfig table) are read.
    virtual void tickStarting() = 0;
    // Every tick's end, whichever way it ends.
    virtual void tickEnded() = 0;
};

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
        DeliveryLedger& ledger;
        ExportRun& exportRun;
        UploadStep& upload;
        MissingDataRequests& requests;
        const RecordSource& record;
        ErrorReport& errors;
        SchedulerHost& host;
    };

    explicit Scheduler(Context context);

    SchedulerNumbers& numbers() { return numbers_; }
    const SchedulerNumbers& numbers() const { return numbers_; }
    int failedAttempts() const { return failedAttempts_; }
    // The last attempt has been made and its day has not gone since.
    bool attemptLimitReached() const { return attemptLimitReached_; }
    // The timer's interval, which is also the phase (start marker, first connection, ...).
    int interval() const { return timer_.interval(); }
    bool isRunning() const { return timer_.isActive(); }
    // A tick is under way.
    bool ticking() const { return ticking_; }

    // While the window is in use or a manual export runs, no tick starts.
    void pause() { timer_.stop(); }
    // Enables the work timer, unless the program is ending.
    void resume();
    // The program is ending: the timer stops and stays stopped.
    void stop();

    void TimerTimer();

private:
    // Steps that open and close the first session; false when the tick must end here.
    bool connectionPhase();
    // Every day after the last recorded one whose coded shops all have a delivered file is
    // recorded, in order, up to the first that has not.
    void recordDeliveredDays();
    // The day of this tick; false on an idle tick with no request due.
    bool chooseDay();
    // The scheduled export of the day and its upload; false when the tick has ended.
    bool exportDay();
    // The day's files made for every coded shop that has none yet (for a request: again);
    // false when that cannot be done now.
    bool makeDay();
    // A coded shop has no file for the day that waits or was delivered.
    bool dayLacksAFile() const;
    // Every file of the day has reached the server.
    bool dayDelivered() const;
    // A stored day after today: nothing is due, said once a day.
    bool storedDayAfterToday();
    void retryTick();
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
    bool ticking_ = false;
    QDateTime now_;
    QDate dataDate_;
    bool requestMode_ = false;
    DayExport dayExport_; // the day whose files are being sent
    int failedAttempts_ = 0;
    bool attemptLimitReached_ = false;
    QDate clockWarned_; // the day the stored day after today was last said
};

} // namespace tarvexio
