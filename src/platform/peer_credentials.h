#pragma once

#include <QString>
#include <QtGlobal>

namespace tarvexio {

// Whether the peer of a connected local socket may control this process: root, this process's
// own user, or a member of its group. Where the system does not tell (a Windows pipe, open to
// its user alone), true. who names the peer for a refusal's log line.
bool peerMayControl(qintptr socketDescriptor, QString* who);

} // namespace tarvexio
