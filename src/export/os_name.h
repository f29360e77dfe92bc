#pragma once

#include <QString>

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

// The Windows edition text ("Microsoft Windows 7 Professional Service Pack 1 (build 7601),
// 64-bit"); empty outside the NT family from version 5 on.
QString WindowsEditionName(const WindowsVersionData& version);

// OS_NAME of this machine: the edition text on Windows; elsewhere the distribution, the kernel
// and the word size.
QString OperatingSystemName();

} // namespace tarvexio
