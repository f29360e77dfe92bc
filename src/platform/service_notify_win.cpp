#include "platform/service_notify.h"

namespace tarvexio {

// A Windows service reports to its control manager, which this program is not run by.
void notifyServiceManager(const QByteArray&) {}

int watchdogPingMs()
{
    return 0;
}

} // namespace tarvexio
