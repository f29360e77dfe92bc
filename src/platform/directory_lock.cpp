#include "platform/directory_lock.h"

#include "platform/stop_request.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

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
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError)
            return Result::Unavailable;
        QString host;
        lock->getLockInfo(&holderProcess_, &host, &holderApplication_);
        return Result::HeldByOther;
    }
    lock_ = std::move(lock);
    folder_ = canonical;
    return Result::Held;
}

DirectoryLock::Result DirectoryLock::holdWithin(const QString& folder, int waitMs)
{
    const QDeadlineTimer deadline(waitMs);
    Result result = hold(folder);
    while (result == Result::HeldByOther && !deadline.hasExpired() && !stopRequested()) {
        QThread::msleep(200);
        result = hold(folder);
    }
    return result;
}

void DirectoryLock::release()
{
    lock_.reset();
    folder_.clear();
}

} // namespace tarvexio
