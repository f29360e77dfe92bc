#include "platform/windows_version.h"

#include <windows.h>

namespace tarvexio {

std::optional<WindowsVersionData> thisWindowsVersion()
{
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;
#ifdef _MSC_VER
#pragma warning(suppress : 4996) // GetVersionExA is what the edition rule is written for
#endif
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
        return std::nullopt;
    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    DWORD product = 0;
    GetProductInfo(info.dwMajorVersion, info.dwMinorVersion, 0, 0, &product);
    WindowsVersionData v;
    v.platformId = int(info.dwPlatformId);
    v.major = int(info.dwMajorVersion);
    v.minor = int(info.dwMinorVersion);
    v.build = int(info.dwBuildNumber);
    v.servicePack = QString::fromLocal8Bit(info.szCSDVersion);
    v.productKind = info.wProductType;
    v.suiteMask = info.wSuiteMask;
    v.architecture = system.wProcessorArchitecture;
    v.productType = int(product);
    v.r2 = GetSystemMetrics(SM_SERVERR2) != 0;
    return v;
}

} // namespace tarvexio
