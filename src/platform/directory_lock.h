#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace tarvexio {

// A lock file of the given name inside a folder, held for as long as this object holds it: one
// agent per exchange directory, whoever started it and whatever its runtime folder (a service
// and a copy started by hand each have their own), and one per runtime folder. A lock whose
// process is gone is taken over.
class DirectoryLock {
public:
    enum class Result { Held, HeldByOther, Unavailable };

    explicit DirectoryLock(QString lockName);
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

    // Holds the lock of folder, letting go of the one held before if it was another folder's.
    // Unavailable: the folder is missing or cannot hold the file.
    Result hold(const QString& folder);
    // As hold, trying again while the lock is another's, until waitMs have passed or the
    // process is asked to end.
    Result holdWithin(const QString& folder, int waitMs);
    void release();

    // After HeldByOther: the holder's process and the application name it holds it under.
    qint64 holderProcess() const { return holderProcess_; }
    const QString& holderApplication() const { return holderApplication_; }

private:
    QString lockName_;
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    qint64 holderProcess_ = 0;
    QString holderApplication_;
};

} // namespace tarvexio
