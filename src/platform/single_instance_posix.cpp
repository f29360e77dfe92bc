#include "platform/single_instance.h"

#include "platform/paths.h"

#include <QDir>

namespace tarvexio {

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance()
{
    release();
}

SingleInstance::Result SingleInstance::acquire()
{
    QString folder = runtimeFolder();
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
