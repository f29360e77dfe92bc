#pragma once

#include <QString>

#include <memory>

class QLockFile;

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
#ifdef Q_OS_WIN
    void* handle_ = nullptr;
#else
    std::unique_ptr<QLockFile> lock_;
#endif
};

} // namespace tarvexio
