#include "app/day_rule.h"
#include "app/upload_step.h"

#include <QTest>

using namespace tarvexio;

Q_DECLARE_METATYPE(std::optional<QDate>)

class TestSchedulerRules : public QObject {
    Q_OBJECT
private slots:
    void dueDay_data();
    void dueDay();
    void waitingFileNotice_data();
    void waitingFileNotice();
};

void TestSchedulerRules::dueDay_data()
{
    QTest::addColumn<QDate>("lastExported");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<std::optional<QDate>>("due");
    const QDate today(2026, 12, 6);
    const auto day = [](const QDate& d) {
        return std::optional<QDate>(d);
    };
    QTest::newRow("yesterday done: idle")
        << today.addDays(-1) << QTime(23, 0) << std::optional<QDate>();
    QTest::newRow("today done: idle") << today << QTime(23, 0) << std::optional<QDate>();
    QTest::newRow("two days: catch-up at night")
        << today.addDays(-2) << QTime(1, 0) << day(today.addDays(-1));
    QTest::newRow("99 days: catch-up at any time")
        << today.addDays(-99) << QTime(1, 0) << day(today.addDays(-98));
    QTest::newRow("100 days: not before 20:30")
        << today.addDays(-100) << QTime(20, 10) << std::optional<QDate>();
    QTest::newRow("100 days: at 20:30")
        << today.addDays(-100) << QTime(20, 30) << day(today.addDays(-99));
    QTest::newRow("100 days: at 21:05")
        << today.addDays(-100) << QTime(21, 5) << day(today.addDays(-99));
    QTest::newRow("day 0 stored: 31.12.1899 from the daily time")
        << QDate(1899, 12, 30) << QTime(20, 30) << day(QDate(1899, 12, 31));
    QTest::newRow("never stored counts as day 0")
        << QDate() << QTime(20, 29) << std::optional<QDate>();
}

void TestSchedulerRules::dueDay()
{
    QFETCH(QDate, lastExported);
    QFETCH(QTime, now);
    QTEST(DueDay(lastExported, QDateTime(QDate(2026, 12, 6), now), 20, 30), "due");
}

void TestSchedulerRules::waitingFileNotice_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "Plik a.DAT czeka na wysłanie. Pierwsza próba była nieudana";
    QTest::newRow("2") << 2 << "Plik a.DAT czeka na wysłanie. 2 próby były nieudane";
    QTest::newRow("4") << 4 << "Plik a.DAT czeka na wysłanie. 4 próby były nieudane";
    QTest::newRow("5") << 5 << "Plik a.DAT czeka na wysłanie. 5 prób było nieudanych";
    QTest::newRow("22") << 22 << "Plik a.DAT czeka na wysłanie. 22 prób było nieudanych";
}

void TestSchedulerRules::waitingFileNotice()
{
    QFETCH(int, failures);
    QTEST(UploadStep::WaitingFileNotice(QStringLiteral("a.DAT"), failures), "text");
}

QTEST_GUILESS_MAIN(TestSchedulerRules)
#include "tst_scheduler_rules.moc"
