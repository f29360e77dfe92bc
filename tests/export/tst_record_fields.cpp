#include "export/data_file_name.h"
#include "export/number_format.h"
#include "export/os_name.h"
#include "export/polish_letters.h"
#include "export/record_fields.h"
#include "export/sales_purchases.h"

#include <QTest>

#include <clocale>
#include <cstdio>
#include <string>

using namespace tarvexio;

Q_DECLARE_METATYPE(tarvexio::WindowsVersionData)

class TestRecordFields : public QObject {
    Q_OBJECT
private slots:
    void fixedPoint_data();
    void fixedPoint();
    void fixedPointIgnoresTheLocale();
    void ean_data();
    void ean();
    void unitCodes_data();
    void unitCodes();
    void taxNumbers_data();
    void taxNumbers();
    void polishLetters();
    void fileNames();
    void windowsEditions_data();
    void windowsEditions();
};

void TestRecordFields::fixedPoint_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("three decimals") << 4.0 << 3 << "4.000";
    QTest::newRow("binary value below the half") << 2.675 << 2 << "2.67";
    QTest::newRow("exact half to even") << 0.125 << 2 << "0.12";
    QTest::newRow("no decimals rounds 3.7") << 3.7 << 0 << "4";
    QTest::newRow("negative") << -20.0 << 2 << "-20.00";
    QTest::newRow("no grouping") << 1234567.891 << 2 << "1234567.89";
    QTest::newRow("sum that is not quite 49.2") << 12.3 * 4 << 2 << "49.20";
}

void TestRecordFields::fixedPoint()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QTEST(FixedPoint(value, decimals), "text");
}

void TestRecordFields::fixedPointIgnoresTheLocale()
{
    // A Polish desktop gives LC_NUMERIC a decimal comma, and printf follows it; the data files
    // never take it. (scripts/setup generates the locale.)
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    QVERIFY(std::setlocale(LC_NUMERIC, "pl_PL.UTF-8") != nullptr);
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.3f", 1.5);
    const QString fixed = FixedPoint(1.5, 3);
    std::setlocale(LC_NUMERIC, previous.c_str());
    QCOMPARE(QByteArray(printed), QByteArray("1,500"));
    QCOMPARE(fixed, QStringLiteral("1.500"));
}

void TestRecordFields::ean_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("ean");
    QTest::newRow("13 digits") << "5900000000003"
                               << "05900000000003";
    QTest::newRow("scale code with fillers") << "29?????"
                                             << "00000000000029";
    QTest::newRow("fillers inside") << "2?00?12345?"
                                    << "00000020012345";
    QTest::newRow("16 characters kept") << "5901234567890123"
                                        << "5901234567890123";
    QTest::newRow("empty") << ""
                           << "00000000000000";
    QTest::newRow("a bar kept as it is") << "12|4"
                                         << "000000000012|4";
}

void TestRecordFields::ean()
{
    QFETCH(QString, code);
    QTEST(EanField(code), "ean");
}

void TestRecordFields::unitCodes_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("code");
    QTest::newRow("Szt.") << "Szt." << 1;
    QTest::newRow("opak") << "opak" << 1;
    QTest::newRow("KPL") << "KPL" << 1;
    QTest::newRow("op kg: pieces tried before kg") << "op kg" << 1;
    QTest::newRow("kg") << "kg" << 2;
    QTest::newRow("mb") << "mb" << 3;
    QTest::newRow("m2") << "M2" << 4;
    QTest::newRow("m3") << "m3" << 5;
    QTest::newRow("litr holds no lt") << "litr" << 1;
    QTest::newRow("Lt") << "Lt" << 6;
    QTest::newRow("paleta") << "paleta" << 1;
    QTest::newRow("unknown") << "para" << 1;
}

void TestRecordFields::unitCodes()
{
    QFETCH(QString, unit);
    QTEST(UnitCode(unit), "code");
}

void TestRecordFields::taxNumbers_data()
{
    QTest::addColumn<QString>("nip");
    QTest::addColumn<QString>("reduced");
    QTest::newRow("prefix, blanks, hyphens") << "PL 526-000-12-46"
                                             << "5260001246";
    QTest::newRow("letter O is a zero") << "1O1-OOO-O2-O3"
                                        << "1010000203";
    QTest::newRow("small o too") << "52o0"
                                 << "5200";
    QTest::newRow("12 digits cut to 10") << "DE 123456789012"
                                         << "1234567890";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("no digits") << "brak"
                               << "";
    QTest::newRow("a word with o") << "nowy"
                                   << "0";
}

void TestRecordFields::taxNumbers()
{
    QFETCH(QString, nip);
    QTEST(ReducedTaxNumber(nip), "reduced");
}

void TestRecordFields::polishLetters()
{
    QString text = QStringLiteral("Zażółć gęślą jaźń ŻÓŁW ĄĘĆŃŚŹ ü §");
    KonwertujPLString(text, PlWindows1250, PlAscii);
    QCOMPARE(text, QStringLiteral("Zazolc gesla jazn ZOLW AECNSZ ü §"));
    QString same = QStringLiteral("łódź");
    KonwertujPLString(same, PlWindows1250, PlWindows1250);
    QCOMPARE(same, QStringLiteral("łódź"));
}

void TestRecordFields::fileNames()
{
    const QDateTime start(QDate(2024, 3, 5), QTime(6, 15, 2));
    QCOMPARE(
        DataFilePath(QStringLiteral("/srv/x"), QStringLiteral("1234"), QDate(2024, 3, 5), start),
        QStringLiteral("/srv/x/PSHD_1234_HD0001_20240305_061502.DAT"));
    QCOMPARE(DataFilePath(QStringLiteral("/srv/x"), QStringLiteral("7"), QDate(2025, 1, 7), start),
             QStringLiteral("/srv/x/PSHD_7_HD0001_20250107_061502.DAT"));
    QCOMPARE(ExchangeDirectory(QStringLiteral("/srv/x/")), QStringLiteral("/srv/x"));
    QCOMPARE(ExchangeDirectory(QString()), QString());
}

void TestRecordFields::windowsEditions_data()
{
    using V = WindowsVersionData;
    QTest::addColumn<WindowsVersionData>("version");
    QTest::addColumn<QString>("name");
    V win7;
    win7.major = 6, win7.minor = 1, win7.build = 7601,
    win7.servicePack = QStringLiteral("Service Pack 1");
    win7.architecture = V::X64, win7.productType = 48;
    QTest::newRow("Windows 7 Professional")
        << win7 << "Microsoft Windows 7 Professional Service Pack 1 (build 7601), 64-bit";
    V server2008 = win7;
    server2008.minor = 0, server2008.productKind = V::Server, server2008.productType = 8;
    server2008.servicePack.clear(), server2008.architecture = V::X86, server2008.build = 6002;
    QTest::newRow("Server 2008 Datacenter")
        << server2008 << "Microsoft Windows Server 2008 Datacenter Edition (build 6002), 32-bit";
    V eight = win7;
    eight.minor = 2, eight.productType = 99, eight.servicePack.clear(), eight.build = 9200;
    QTest::newRow("unknown product type adds nothing")
        << eight << "Microsoft Windows 8  (build 9200), 64-bit";
    V xp;
    xp.major = 5, xp.minor = 1, xp.build = 2600, xp.suiteMask = 0x200,
    xp.servicePack = QStringLiteral("Service Pack 3");
    QTest::newRow("XP Home") << xp
                             << "Microsoft Windows XP Home Edition Service Pack 3 (build 2600)";
    V s2003;
    s2003.major = 5, s2003.minor = 2, s2003.build = 3790, s2003.productKind = V::Server;
    s2003.architecture = V::X64, s2003.suiteMask = 0x2;
    QTest::newRow("Server 2003 Enterprise x64")
        << s2003 << "Microsoft Windows Server 2003, Enterprise x64 Edition (build 3790)";
    V r2 = s2003;
    r2.r2 = true, r2.architecture = V::X86, r2.suiteMask = 0x400;
    QTest::newRow("Server 2003 R2 Web")
        << r2 << "Microsoft Windows Server 2003 R2, Web Edition (build 3790)";
    V xp64 = s2003;
    xp64.productKind = V::Workstation;
    QTest::newRow("XP x64") << xp64 << "Microsoft Windows XP Professional x64 Edition (build 3790)";
    V w2000;
    w2000.major = 5, w2000.minor = 0, w2000.build = 2195, w2000.productKind = V::DomainController;
    w2000.suiteMask = 0x80;
    QTest::newRow("2000 Datacenter")
        << w2000 << "Microsoft Windows 2000 Datacenter Server (build 2195)";
    V nt4;
    nt4.major = 4;
    QTest::newRow("NT 4 gives nothing") << nt4 << "";
    V win9x = win7;
    win9x.platformId = 1;
    QTest::newRow("not the NT family") << win9x << "";
}

void TestRecordFields::windowsEditions()
{
    QFETCH(WindowsVersionData, version);
    QTEST(WindowsEditionName(version), "name");
}

QTEST_GUILESS_MAIN(TestRecordFields)
#include "tst_record_fields.moc"
