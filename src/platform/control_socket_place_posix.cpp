#include "platform/control_socket_place.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>

namespace tarvexio {

namespace {

const QString SocketName = QStringLiteral("tarvexio.sock");
// The service unit's RuntimeDirectory=tarvexio.
const QString ServiceRuntimeFolder = QStringLiteral("/run/tarvexio");

} // namespace

QString controlSocketPath()
{
    if (QString named = qEnvironmentVariable("TARVEXIO_CONTROL"); !named.isEmpty())
        return named;
    return QDir(runtimeFolder()).filePath(SocketName);
}

QStringList controlSocketCandidates()
{
    if (const QString named = qEnvironmentVariable("TARVEXIO_CONTROL"); !named.isEmpty())
        return {named};
    QStringList candidates;
    if (const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR"); !runtime.isEmpty())
        candidates << QDir(runtime).filePath(SocketName);
    const QString service = QDir(ServiceRuntimeFolder).filePath(SocketName);
    if (!candidates.contains(service))
        candidates << service;
    return candidates;
}

QLocalServer::SocketOptions controlSocketAccess()
{
    return QLocalServer::UserAccessOption | QLocalServer::GroupAccessOption;
}

void settleControlSocketMode(const QString& path)
{
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadGroup | QFileDevice::WriteGroup);
}

} // namespace tarvexio
