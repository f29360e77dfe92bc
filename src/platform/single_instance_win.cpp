#include "platform/single_instance.h"

#include <windows.h>

namespace tarvexio {

SingleInstance::SingleInstance() = default;

SingleInstance::~SingleInstance()
{
    release();
}

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

} // namespace tarvexio
