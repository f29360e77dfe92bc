#pragma once

#include <QString>

#include <optional>

namespace tarvexio {

// What Windows says of itself, as the edition rule needs it.
struct WindowsVersionData {
    enum Architecture { X86 = 0, Itanium = 6, X64 = 9 };
    enum ProductKind { Workstation = 1, DomainController = 2, Server = 3 };

    int platformId = 2; // 2: the NT family
    int major = 0;
    int minor = 0;
    int build = 0;
    QString servicePack;
    int productKind = Workstation;
    int suiteMask = 0;
    int architecture = X86;
    int productType = 0; // GetProductInfo
    bool r2 = false;     // GetSystemMetrics(SM_SERVERR2)
};

// This machine's Windows version; none elsewhere, or when Windows does not tell.
std::optional<WindowsVersionData> thisWindowsVersion();

} // namespace tarvexio
