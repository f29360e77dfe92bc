#include "platform/windows_version.h"

namespace tarvexio {

std::optional<WindowsVersionData> ThisWindowsVersion()
{
    return std::nullopt;
}

} // namespace tarvexio
