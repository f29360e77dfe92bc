// Fields of the data file's INFO and number columns that follow rules of their own: the
// Windows edition text of OS_NAME (the rule runs on any system, so it is checked here rather
// than only on Windows) and fixed-point numbers whatever the locale.
#include "export/number_format.h"
#include "export/os_name.h"

#include <QTest>

#include <clocale>
#include <cstdio>
#include <string>

using namespace tarvexio;

Q_DECLARE_METATYPE(tarvexio::WindowsVersionData)

class TestExportFields : public QObject {
    Q_OBJECT
private slots:
    void windowsEdition_data();
    void windowsEdition();
    void fixedPointIgnoresTheLocale();
};

void TestExportFields::windowsEdition_data()
{
    using V = WindowsVersionData;
    QTest::addColumn<WindowsVersionData>("version");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* tag, int major, int minor, int kind, int architecture,
                        int productType, int suite, bool r2, const char* servicePack, int build,
                        const char* text) {
        QTest::newRow(tag) << V{.major = major,
                                .minor = minor,
                                .build = build,
                                .servicePack = QString::fromLatin1(servicePack),
                                .productKind = kind,
                                .suiteMask = suite,
                                .architecture = architecture,
                                .productType = productType,
                                .r2 = r2}
                           << QString::fromLatin1(text);
    };
    row("7 Professional", 6, 1, V::Workstation, V::X64, 48, 0, false, "Service Pack 1", 7601,
        "Microsoft Windows 7 Professional Service Pack 1 (build 7601), 64-bit");
    row("2008 R2 core", 6, 1, V::Server, V::X64, 12, 0, false, "", 7600,
        "Microsoft Windows Server 2008 R2 Datacenter Edition (core installation) (build 7600), "
        "64-bit");
    row("a product type of no name", 6, 2, V::Workstation, V::X86, 99, 0, false, "", 9200,
        "Microsoft Windows 8  (build 9200), 32-bit");
    row("2003 R2 on x64", 5, 2, V::Server, V::X64, 0, 0x2, true, "Service Pack 2", 3790,
        "Microsoft Windows Server 2003 R2, Enterprise x64 Edition Service Pack 2 (build 3790)");
    row("XP x64", 5, 2, V::Workstation, V::X64, 0, 0, false, "", 3790,
        "Microsoft Windows XP Professional x64 Edition (build 3790)");
    row("2003 on Itanium", 5, 2, V::Server, V::Itanium, 0, 0x80, false, "", 3790,
        "Microsoft Windows Server 2003, Datacenter Edition for Itanium-based Systems (build "
        "3790)");
    row("2003: the first edition that applies", 5, 2, V::Server, V::X86, 0, 0x4000 | 0x80, false,
        "", 3790, "Microsoft Windows Server 2003, Compute Cluster Edition (build 3790)");
    row("XP Home", 5, 1, V::Workstation, V::X86, 0, 0x200, false, "Service Pack 3", 2600,
        "Microsoft Windows XP Home Edition Service Pack 3 (build 2600)");
    row("2000 Advanced Server", 5, 0, V::Server, V::X86, 0, 0x2, false, "", 2195,
        "Microsoft Windows 2000 Advanced Server (build 2195)");
    row("NT 4: none", 4, 0, V::Workstation, V::X86, 0, 0, false, "Service Pack 6", 1381, "");
}

void TestExportFields::windowsEdition()
{
    QFETCH(WindowsVersionData, version);
    QTEST(windowsEditionName(version), "text");
}

void TestExportFields::fixedPointIgnoresTheLocale()
{
    // A Polish desktop gives LC_NUMERIC a decimal comma, and printf follows it; the data files
    // never take it. (scripts/setup generates the locale.)
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    QVERIFY(std::setlocale(LC_NUMERIC, "pl_PL.UTF-8") != nullptr);
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.3f", 1.5);
    const QString fixed = fixedPoint(1.5, 3);
    std::setlocale(LC_NUMERIC, previous.c_str());
    QCOMPARE(QByteArray(printed), QByteArray("1,500"));
    QCOMPARE(fixed, QStringLiteral("1.500"));
}

QTEST_GUILESS_MAIN(TestExportFields)
#include "tst_export_fields.moc"
