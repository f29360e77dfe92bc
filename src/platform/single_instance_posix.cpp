#include "platform/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace tarvexio {

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance()
{
    release();
}

SingleInstance::Result SingleInstance::acquire()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    if (!QDir().mkpath(folder))
        return Result::Failed;
    switch (lock_.hold(folder)) {
    case DirectoryLock::Result::Held:
        return Result::Acquired;
    case DirectoryLock::Result::HeldByOther:
        return Result::AlreadyRunning;
    case DirectoryLock::Result::Unavailable:
        break;
    }
    return Result::Failed;
}

void SingleInstance::release()
{
    lock_.release();
}

} // namespace tarvexio
