#pragma once

#include <QString>

namespace tarvexio {

// The lock every agent holds in its exchange directory while it works, and tarvexioctl while it
// works on the agent's stores in its stead (no agent runs).
inline const QString ExchangeLockName = QStringLiteral(".tarvexio.lock");
// The name tarvexioctl holds the lock under: an agent waits for it instead of leaving.
inline const QString ToolLockHolder = QStringLiteral("tarvexioctl");

} // namespace tarvexio
