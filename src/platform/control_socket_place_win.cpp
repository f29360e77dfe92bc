#include "platform/control_socket_place.h"

namespace tarvexio {

namespace {

// A named pipe of the user's own.
QString userPipe()
{
    return QStringLiteral("tarvexio-") + qEnvironmentVariable("USERNAME");
}

} // namespace

QString controlSocketPath()
{
    if (QString named = qEnvironmentVariable("TARVEXIO_CONTROL"); !named.isEmpty())
        return named;
    return userPipe();
}

QStringList controlSocketCandidates()
{
    return {controlSocketPath()};
}

QLocalServer::SocketOptions controlSocketAccess()
{
    return QLocalServer::UserAccessOption;
}

void settleControlSocketMode(const QString&) {}

} // namespace tarvexio
