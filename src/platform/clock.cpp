#include "platform/clock.h"

#include <QThread>

namespace tarvexio {

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

void SystemClock::pause(int milliseconds)
{
    if (pauses_ && milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

} // namespace tarvexio
