#include "app/command_line.h"
#include "app/day_rule.h"
#include "app/upload_step.h"

#include <QTest>

using namespace tarvexio;

Q_DECLARE_METATYPE(std::optional<QDate>)
Q_DECLARE_METATYPE(tarvexio::SchedulerNumbers)

// The scheduler's numbers from its command line, the day it exports, what it tells.
class TestSchedulerRules : public QObject {
    Q_OBJECT
private slots:
    void readsArguments_data();
    void readsArguments();
    void rejectsNonNumbers_data();
    void rejectsNonNumbers();
    void dueDay_data();
    void dueDay();
    void waitingFileNotice_data();
    void waitingFileNotice();
};

void TestSchedulerRules::readsArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("databaseName");
    QTest::addColumn<QString>("userIdent");
    QTest::addColumn<bool>("test");
    QTest::addColumn<SchedulerNumbers>("numbers");
    QTest::addColumn<QChar>("separator"); // the system's decimal separator

    const auto row = [](const char* tag, const char* arguments, const char* database,
                        const char* user, bool test, SchedulerNumbers numbers,
                        char16_t separator = u'.') {
        QTest::newRow(tag) << QString::fromUtf8(arguments).split(u' ') << database << user << test
                           << numbers << QChar(separator);
    };
    const SchedulerNumbers defaults = SchedulerNumbers::defaults();
    const SchedulerNumbers ninety{180000, 5400000, 900000, 5};
    row("mixed-case keys keep the value's case", "baza=Sklepy.DB Ident=Kasia", "Sklepy.DB", "Kasia",
        false, defaults);
    row("TEST with further letters", "BAZA=a testowy", "a", "", true, defaults);
    row("unknown arguments ignored", "-v XBAZA=a BAZA", "", "", false, defaults);
    row("all numbers",
        "PIERWSZE_POLACZENIE_PO_N_S=20 SPRAWDAJ_CO_N_H=2 PONAWIAJ_PROBE_WYSLANIA_CO_N_H=0.25 "
        "MAX_LICZBA_PROBFTP=9",
        "", "", false, {20000, 7200000, 900000, 9});
    row("fraction of an hour cut toward zero", "SPRAWDAJ_CO_N_H=0.0000001", "", "", false,
        {180000, 0, 900000, 5});
    // Hours take either separator, whatever the system's.
    row("1,5 h on a point system", "SPRAWDAJ_CO_N_H=1,5", "", "", false, ninety);
    row("1.5 h on a comma system", "SPRAWDAJ_CO_N_H=1.5", "", "", false, ninety, u',');
}

void TestSchedulerRules::readsArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QChar, separator);
    CommandLineValues values;
    readArguments(arguments, values, separator);
    QTEST(values.databaseName, "databaseName");
    QTEST(values.userIdent, "userIdent");
    QTEST(values.test, "test");
    QTEST(values.numbers, "numbers");
}

void TestSchedulerRules::rejectsNonNumbers_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("letters for seconds") << "PIERWSZE_POLACZENIE_PO_N_S=abc";
    QTest::newRow("empty hours") << "SPRAWDAJ_CO_N_H=";
    QTest::newRow("two separators") << "PONAWIAJ_PROBE_WYSLANIA_CO_N_H=1,5,5";
    QTest::newRow("seconds beyond 32 bits") << "PIERWSZE_POLACZENIE_PO_N_S=3000000";
    QTest::newRow("not finite") << "SPRAWDAJ_CO_N_H=inf";
    // Qt refuses a negative interval: the agent would live on doing nothing.
    QTest::newRow("negative seconds") << "PIERWSZE_POLACZENIE_PO_N_S=-5";
    QTest::newRow("negative check period") << "SPRAWDAJ_CO_N_H=-1";
    QTest::newRow("negative retry period") << "PONAWIAJ_PROBE_WYSLANIA_CO_N_H=-0,0000001";
}

void TestSchedulerRules::rejectsNonNumbers()
{
    QFETCH(QString, argument);
    CommandLineValues values;
    try {
        readArguments({"BAZA=x", argument}, values, u'.');
        QFAIL("no conversion error");
    } catch (const EConvertError& error) {
        // The message names the argument so that the operator can find it.
        QVERIFY2(QString::fromUtf8(error.what()).contains(argument), error.what());
    }
}

void TestSchedulerRules::dueDay_data()
{
    QTest::addColumn<QDate>("lastExported");
    QTest::addColumn<QTime>("now");
    QTest::addColumn<std::optional<QDate>>("due");
    const QDate today(2026, 12, 6);
    const auto row = [](const char* tag, QDate last, QTime now, std::optional<QDate> due) {
        QTest::newRow(tag) << last << now << due;
    };
    row("yesterday done: idle", today.addDays(-1), {23, 0}, {});
    row("two days: catch-up at night", today.addDays(-2), {1, 0}, today.addDays(-1));
    row("99 days: catch-up at any time", today.addDays(-99), {1, 0}, today.addDays(-98));
    row("100 days: not before 20:30", today.addDays(-100), {20, 10}, {});
    row("100 days: at 20:30", today.addDays(-100), {20, 30}, today.addDays(-99));
    row("100 days: after 20:30", today.addDays(-100), {21, 5}, today.addDays(-99));
    row("day 0 stored: 31.12.1899 from the daily time", {1899, 12, 30}, {20, 30},
        QDate(1899, 12, 31));
    row("never stored counts as day 0", {}, {20, 29}, {});
    // A hand-made value never names a file with an impossible date, nor waits for ever.
    row("before day 0 counts as day 0", QDate(1899, 12, 30).addDays(-99999999), {20, 30},
        QDate(1899, 12, 31));
    // A clock set back: nothing is due, however far ahead the stored day is.
    row("tomorrow: nothing due", today.addDays(1), {20, 30}, {});
    row("year 9999: nothing due", {9999, 12, 31}, {20, 30}, {});
}

void TestSchedulerRules::dueDay()
{
    QFETCH(QDate, lastExported);
    QFETCH(QTime, now);
    QTEST(tarvexio::dueDay(lastExported, QDateTime(QDate(2026, 12, 6), now), 20, 30), "due");
}

void TestSchedulerRules::waitingFileNotice_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<QString>("text");
    QTest::newRow("1") << 1 << "Plik a.DAT czeka na wysłanie. Pierwsza próba była nieudana";
    QTest::newRow("4") << 4 << "Plik a.DAT czeka na wysłanie. 4 próby były nieudane";
    QTest::newRow("5") << 5 << "Plik a.DAT czeka na wysłanie. 5 prób było nieudanych";
    QTest::newRow("22") << 22 << "Plik a.DAT czeka na wysłanie. 22 prób było nieudanych";
}

void TestSchedulerRules::waitingFileNotice()
{
    QFETCH(int, failures);
    QTEST(UploadStep::waitingFileNotice(QStringLiteral("a.DAT"), failures), "text");
}

QTEST_GUILESS_MAIN(TestSchedulerRules)
#include "tst_scheduler_rules.moc"
