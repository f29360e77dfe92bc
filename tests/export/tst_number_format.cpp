#include "export/number_format.h"

#include <QTest>

#include <clocale>
#include <cstdio>
#include <string>

using namespace tarvexio;

class TestNumberFormat : public QObject {
    Q_OBJECT
private slots:
    void fixedPointIgnoresTheLocale();
};

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
