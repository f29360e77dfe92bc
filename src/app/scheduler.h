#pragma once

#include "app/command_line.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace tarvexio {

class SessionOwner;
class WindowModel;

// The work timer and its tick. The timer's interval is the scheduler's phase: 100 ms right
// after start, the first connection delay until the first connection, then the check or
// retry period.
class Scheduler : public QObject {
    Q_OBJECT
public:
    static constexpr int StartMarkerMs = 100;

    Scheduler(WindowModel& model, SessionOwner& session,
              std::function<void(const std::exception&)> showException);

    QTimer& timer() { return timer_; }
    const QTimer& timer() const { return timer_; }
    SchedulerNumbers& numbers() { return numbers_; }

    void TimerTimer();

private:
    // Steps that open and close the first session; false when the tick must end here.
    bool connectionPhase();
    void endTick();

    WindowModel& model_;
    SessionOwner& session_;
    std::function<void(const std::exception&)> showException_;
    QTimer timer_;
    SchedulerNumbers numbers_;
};

} // namespace tarvexio
