#include "platform/windows_version.h"

namespace tarvexio {

std::optional<WindowsVersionData> thisWindowsVersion()
{
    return std::nullopt;
}

} // namespace tarvexio
