#pragma once

#include <QByteArray>

namespace tarvexio {

// The service manager's notifications (systemd's NOTIFY_SOCKET): "READY=1", "STATUS=…",
// "WATCHDOG=1", "STOPPING=1". Nothing is sent where no manager asks for them.
void notifyServiceManager(const QByteArray& state);

// How often the manager wants to hear WATCHDOG=1 (half its WATCHDOG_USEC), in milliseconds;
// 0 when it does not watch.
int watchdogPingMs();

} // namespace tarvexio
