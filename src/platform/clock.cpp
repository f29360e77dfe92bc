#include "platform/clock.h"

#include "platform/stop_request.h"

#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>

namespace tarvexio {

namespace {

// How often a pause looks whether the process is ending.
constexpr qint64 StopPollMs = 50;

} // namespace

bool SystemClock::pausesLeftOut()
{
    return qEnvironmentVariable("TARVEXIO_NO_PAUSES") == u"1";
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

void SystemClock::pause(int milliseconds)
{
    if (!pauses_ || milliseconds <= 0)
        return;
    const QDeadlineTimer deadline(milliseconds);
    while (!stopRequested()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return;
        QThread::msleep(static_cast<unsigned long>(std::min(left, StopPollMs)));
    }
}

} // namespace tarvexio
