#pragma once

#include "platform/windows_version.h"

#include <QString>

namespace tarvexio {

// The Windows edition text ("Microsoft Windows 7 Professional Service Pack 1 (build 7601),
// 64-bit"); empty outside the NT family from version 5 on.
QString windowsEditionName(const WindowsVersionData& version);

// OS_NAME of this machine: the edition text on Windows; elsewhere the distribution, the kernel
// and the word size.
QString operatingSystemName();

} // namespace tarvexio
