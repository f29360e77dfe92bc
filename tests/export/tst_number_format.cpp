#include "export/number_format.h"

#include <QTest>

#include <clocale>
#include <cstdio>
#include <string>

using namespace tarvexio;

class TestNumberFormat : public QObject {
    Q_OBJECT
private slots:
    void fixedPoint_data();
    void fixedPoint();
    void fixedPointIgnoresTheLocale();
};

void TestNumberFormat::fixedPoint_data()
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

void TestNumberFormat::fixedPoint()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QTEST(FixedPoint(value, decimals), "text");
}

void TestNumberFormat::fixedPointIgnoresTheLocale()
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

QTEST_GUILESS_MAIN(TestNumberFormat)
#include "tst_number_format.moc"
