#include "platform/directory_lock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace tarvexio {

namespace {

// Hidden, so that a listing of the data files does not show it.
const QString LockName = QStringLiteral(".tarvexio.lock");

} // namespace

DirectoryLock::DirectoryLock() = default;

DirectoryLock::~DirectoryLock() = default;

DirectoryLock::Result DirectoryLock::hold(const QString& folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (lock_ && canonical == folder_)
        return Result::Held;
    lock_.reset();
    folder_.clear();
    if (canonical.isEmpty() || !QFileInfo(canonical).isDir())
        return Result::Unavailable;
    auto lock = std::make_unique<QLockFile>(QDir(canonical).filePath(LockName));
    lock->setStaleLockTime(0); // only a lock whose process is gone is stale
    if (!lock->tryLock(0))
        return lock->error() == QLockFile::LockFailedError ? Result::HeldByOther
                                                           : Result::Unavailable;
    lock_ = std::move(lock);
    folder_ = canonical;
    return Result::Held;
}

} // namespace tarvexio
