#include "export/os_name.h"

#include <QSysInfo>

namespace tarvexio {

namespace {

QString productTypeText(int productType)
{
    switch (productType) {
    case 1:
        return QStringLiteral("Ultimate Edition");
    case 2:
        return QStringLiteral("Home Basic Edition");
    case 3:
        return QStringLiteral("Home Premium Edition");
    case 4:
        return QStringLiteral("Enterprise Edition");
    case 6:
        return QStringLiteral("Business Edition");
    case 7:
        return QStringLiteral("Standard Edition");
    case 8:
        return QStringLiteral("Datacenter Edition");
    case 9:
        return QStringLiteral("Small Business Server");
    case 10:
        return QStringLiteral("Enterprise Edition");
    case 11:
        return QStringLiteral("Starter Edition");
    case 12:
        return QStringLiteral("Datacenter Edition (core installation)");
    case 13:
        return QStringLiteral("Standard Edition (core installation)");
    case 14:
        return QStringLiteral("Enterprise Edition (core installation)");
    case 15:
        return QStringLiteral("Enterprise Edition for Itanium-based Systems");
    case 17:
        return QStringLiteral("Web Server Edition");
    case 18:
        return QStringLiteral("Cluster Server Edition");
    case 25:
        return QStringLiteral("Small Business Server Premium Edition");
    case 48:
        return QStringLiteral("Professional");
    default:
        return {};
    }
}

constexpr int SuiteEnterprise = 0x2;
constexpr int SuiteDatacenter = 0x80;
constexpr int SuitePersonal = 0x200;
constexpr int SuiteBlade = 0x400;
constexpr int SuiteStorageServer = 0x2000;
constexpr int SuiteComputeServer = 0x4000;
constexpr int SuiteHomeServer = 0x8000;

QString server2003Edition(const WindowsVersionData& v)
{
    const bool datacenter = v.suiteMask & SuiteDatacenter;
    const bool enterprise = v.suiteMask & SuiteEnterprise;
    if (v.architecture == WindowsVersionData::Itanium) {
        if (datacenter)
            return QStringLiteral("Datacenter Edition for Itanium-based Systems");
        if (enterprise)
            return QStringLiteral("Enterprise Edition for Itanium-based Systems");
        return {};
    }
    if (v.architecture == WindowsVersionData::X64) {
        if (datacenter)
            return QStringLiteral("Datacenter x64 Edition");
        if (enterprise)
            return QStringLiteral("Enterprise x64 Edition");
        return QStringLiteral("Standard x64 Edition");
    }
    if (v.suiteMask & SuiteComputeServer)
        return QStringLiteral("Compute Cluster Edition");
    if (datacenter)
        return QStringLiteral("Datacenter Edition");
    if (enterprise)
        return QStringLiteral("Enterprise Edition");
    if (v.suiteMask & SuiteBlade)
        return QStringLiteral("Web Edition");
    return QStringLiteral("Standard Edition");
}

QString version5Text(const WindowsVersionData& v)
{
    const bool workstation = v.productKind == WindowsVersionData::Workstation;
    if (v.minor == 2) {
        QString text;
        if (v.r2)
            text = QStringLiteral("Windows Server 2003 R2, ");
        else if (v.suiteMask & SuiteStorageServer)
            text = QStringLiteral("Windows Storage Server 2003");
        else if (v.suiteMask & SuiteHomeServer)
            text = QStringLiteral("Windows Home Server");
        else if (workstation && v.architecture == WindowsVersionData::X64)
            text = QStringLiteral("Windows XP Professional x64 Edition");
        else
            text = QStringLiteral("Windows Server 2003, ");
        if (!workstation)
            text += server2003Edition(v);
        return text;
    }
    if (v.minor == 1)
        return QStringLiteral("Windows XP ") + (v.suiteMask & SuitePersonal
                                                    ? QStringLiteral("Home Edition")
                                                    : QStringLiteral("Professional"));
    if (v.minor == 0) {
        QString text = QStringLiteral("Windows 2000 ");
        if (workstation)
            return text + QStringLiteral("Professional");
        if (v.suiteMask & SuiteDatacenter)
            return text + QStringLiteral("Datacenter Server");
        if (v.suiteMask & SuiteEnterprise)
            return text + QStringLiteral("Advanced Server");
        return text + QStringLiteral("Server");
    }
    return {};
}

QString version6Text(const WindowsVersionData& v)
{
    const bool workstation = v.productKind == WindowsVersionData::Workstation;
    QString text;
    switch (v.minor) {
    case 0:
        text =
            workstation ? QStringLiteral("Windows Vista ") : QStringLiteral("Windows Server 2008 ");
        break;
    case 1:
        text =
            workstation ? QStringLiteral("Windows 7 ") : QStringLiteral("Windows Server 2008 R2 ");
        break;
    case 2:
        text = workstation ? QStringLiteral("Windows 8 ") : QStringLiteral("Windows Server 2012 ");
        break;
    default:
        break;
    }
    return text + productTypeText(v.productType);
}

} // namespace

QString windowsEditionName(const WindowsVersionData& v)
{
    if (v.platformId != 2 || v.major <= 4)
        return {};
    QString text = QStringLiteral("Microsoft ");
    if (v.major == 6)
        text += version6Text(v);
    else if (v.major == 5)
        text += version5Text(v);
    if (!v.servicePack.isEmpty())
        text += u' ' + v.servicePack;
    text += QStringLiteral(" (build %1)").arg(v.build);
    if (v.major > 5) {
        if (v.architecture == WindowsVersionData::X64)
            text += QStringLiteral(", 64-bit");
        else if (v.architecture == WindowsVersionData::X86)
            text += QStringLiteral(", 32-bit");
    }
    return text;
}

QString operatingSystemName()
{
    if (const std::optional<WindowsVersionData> windows = thisWindowsVersion())
        return windowsEditionName(*windows);
    return QStringLiteral("%1, kernel %2, %3-bit")
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelVersion())
        .arg(QSysInfo::WordSize);
}

} // namespace tarvexio
