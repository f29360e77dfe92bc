#include "platform/single_instance.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QDir>
#include <QLockFile>
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
    lock_ = std::make_unique<QLockFile>(QDir(folder).filePath(QStringLiteral("Tarvexio.lock")));
    lock_->setStaleLockTime(0); // only a lock whose process is gone is stale
    if (lock_->tryLock(0))
        return Result::Acquired;
    const bool heldByOther = lock_->error() == QLockFile::LockFailedError;
    lock_.reset();
    return heldByOther ? Result::AlreadyRunning : Result::Failed;
}

void SingleInstance::release()
{
    lock_.reset();
}

#endif

} // namespace tarvexio
