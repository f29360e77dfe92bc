#include "export/number_format.h"
#include "export/os_name.h"
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
    void windowsEditions_data();
    void windowsEditions();
};

void TestRecordFields::fixedPoint_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("binary value below the half") << 2.675 << 2 << "2.67";
    QTest::newRow("exact half to even") << 0.125 << 2 << "0.12";
    QTest::newRow("no decimals rounds 3.7") << 3.7 << 0 << "4";
    QTest::newRow("negative") << -20.0 << 2 << "-20.00";
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
    QTest::newRow("fillers inside") << "2?00?12345?"
                                    << "00000020012345";
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
    QTest::newRow("op kg: pieces tried before kg") << "op kg" << 1;
    QTest::newRow("litr holds no lt") << "litr" << 1;
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
    QTest::newRow("12 digits cut to 10") << "DE 123456789012"
                                         << "1234567890";
    QTest::newRow("no digits") << "brak"
                               << "";
}

void TestRecordFields::taxNumbers()
{
    QFETCH(QString, nip);
    QTEST(ReducedTaxNumber(nip), "reduced");
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
    V r2;
    r2.major = 5, r2.minor = 2, r2.build = 3790, r2.productKind = V::Server, r2.r2 = true;
    r2.suiteMask = 0x400;
    QTest::newRow("Server 2003 R2 Web")
        << r2 << "Microsoft Windows Server 2003 R2, Web Edition (build 3790)";
    V nt4;
    nt4.major = 4;
    QTest::newRow("NT 4 gives nothing") << nt4 << "";
}

void TestRecordFields::windowsEditions()
{
    QFETCH(WindowsVersionData, version);
    QTEST(WindowsEditionName(version), "name");
}

QTEST_GUILESS_MAIN(TestRecordFields)
#include "tst_record_fields.moc"
