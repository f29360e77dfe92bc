#pragma once

#include "platform/directory_lock.h"

#include <QString>

namespace tarvexio {

// One agent per user session. Windows: the named mutex "Tarvexio"; elsewhere a lock file
// "Tarvexio.lock" in the runtime folder (a stale lock of a dead process is taken over).
class SingleInstance {
public:
    enum class Result { Acquired, AlreadyRunning, Failed };

    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Result acquire();
    void release();

private:
    void* handle_ = nullptr;                              // Windows' mutex
    DirectoryLock lock_{QStringLiteral("Tarvexio.lock")}; // elsewhere
};

} // namespace tarvexio
