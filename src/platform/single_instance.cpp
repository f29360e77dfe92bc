#include "platform/single_instance.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QDir>
#include <QStandardPaths>
#endif

namespace tarvexio {

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance()
{
    release();
}

#ifdef Q_OS_WIN

SingleInstance::Result SingleInstance::acquire()
{
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Tarvexio");
    const DWORD error = GetLastError();
    if (mutex == nullptr)
        return Result::Failed;
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return Result::AlreadyRunning;
    }
    handle_ = mutex;
    return Result::Acquired;
}

void SingleInstance::release()
{
    if (handle_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
}

#else

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

#endif

} // namespace tarvexio
