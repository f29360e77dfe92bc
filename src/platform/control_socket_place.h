#pragma once

#include <QLocalServer>
#include <QString>
#include <QStringList>

namespace tarvexio {

// Where the agent listens: TARVEXIO_CONTROL, else its runtime folder's "tarvexio.sock"
// ($XDG_RUNTIME_DIR: /run/tarvexio for the service, /run/user/<uid> for a desktop user; on
// Windows a named pipe of the user's).
QString controlSocketPath();

// Where the tool looks, in order: TARVEXIO_CONTROL alone when it is set; else the user's own
// agent, then the service's (/run/tarvexio/tarvexio.sock), which root reaches with nothing set.
QStringList controlSocketCandidates();

// Who may open it: the user and the socket's group (0660) here; on Windows the user alone.
QLocalServer::SocketOptions controlSocketAccess();
// Once it listens: Qt's options leave the socket 0770, where read and write (0660) are all a
// socket's mode means.
void settleControlSocketMode(const QString& path);

} // namespace tarvexio
