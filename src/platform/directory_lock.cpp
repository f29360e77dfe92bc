#include "platform/directory_lock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace tarvexio {

DirectoryLock::DirectoryLock(QString lockName)
    : lockName_(std::move(lockName))
{}

DirectoryLock::~DirectoryLock() = default;

DirectoryLock::Result DirectoryLock::hold(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (lock_ && canonical == folder_)
        return Result::Held;
    release();
    if (canonical.isEmpty() || !QFileInfo(canonical).isDir())
        return Result::Unavailable;
    auto lock = std::make_unique<QLockFile>(QDir(canonical).filePath(lockName_));
    lock->setStaleLockTime(0); // only a lock whose process is gone is stale
    if (!lock->tryLock(0))
        return lock->error() == QLockFile::LockFailedError ? Result::HeldByOther
                                                           : Result::Unavailable;
    lock_ = std::move(lock);
    folder_ = canonical;
    return Result::Held;
}

void DirectoryLock::release()
{
    lock_.reset();
    folder_.clear();
}

} // namespace tarvexio
