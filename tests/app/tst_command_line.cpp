#include "app/command_line.h"

#include <QTest>

using namespace tarvexio;

Q_DECLARE_METATYPE(tarvexio::SchedulerNumbers)

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void readsArguments_data();
    void readsArguments();
    void hoursWithEitherSeparator_data();
    void hoursWithEitherSeparator();
    void rejectsNonNumbers_data();
    void rejectsNonNumbers();
    void adjustsPeriods_data();
    void adjustsPeriods();
};

void TestCommandLine::readsArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("databaseName");
    QTest::addColumn<QString>("userIdent");
    QTest::addColumn<bool>("test");
    QTest::addColumn<SchedulerNumbers>("numbers");

    const SchedulerNumbers defaults = SchedulerNumbers::Defaults();
    QTest::newRow("names") << QStringList{"BAZA=/srv/qmx.db", "IDENT=jan"} << "/srv/qmx.db"
                           << "jan" << false << defaults;
    QTest::newRow("mixed-case keys keep the value's case")
        << QStringList{"baza=Sklepy.DB", "Ident=Kasia"} << "Sklepy.DB"
        << "Kasia" << false << defaults;
    QTest::newRow("value trimmed after the key")
        << QStringList{"BAZA=  C:\\Dane\\Baza  ", "IDENT= x "} << "C:\\Dane\\Baza"
        << "x" << false << defaults;
    QTest::newRow("repeated key: the later wins")
        << QStringList{"BAZA=a", "IDENT=u", "BAZA=b"} << "b"
        << "u" << false << defaults;
    QTest::newRow("TEST with further letters") << QStringList{"BAZA=a", "testowy"} << "a"
                                               << "" << true << defaults;
    QTest::newRow("unknown arguments ignored") << QStringList{"-v", "XBAZA=a", "BAZA"} << ""
                                               << "" << false << defaults;
    QTest::newRow("all numbers") << QStringList{"PIERWSZE_POLACZENIE_PO_N_S=20",
                                                "SPRAWDAJ_CO_N_H=2",
                                                "PONAWIAJ_PROBE_WYSLANIA_CO_N_H=0.25",
                                                "MAX_LICZBA_PROBFTP=9"}
                                 << ""
                                 << "" << false << SchedulerNumbers{20000, 7200000, 900000, 9};
    QTest::newRow("zero seconds") << QStringList{"pierwsze_polaczenie_po_n_s=0"} << ""
                                  << "" << false << SchedulerNumbers{0, 30000, 900000, 5};
    QTest::newRow("fraction of an hour cut toward zero")
        << QStringList{"SPRAWDAJ_CO_N_H=0.0000001"} << ""
        << "" << false << SchedulerNumbers{180000, 0, 900000, 5};
}

void TestCommandLine::readsArguments()
{
    QFETCH(QStringList, arguments);
    CommandLineValues values;
    ReadArguments(arguments, values, u'.');
    QTEST(values.databaseName, "databaseName");
    QTEST(values.userIdent, "userIdent");
    QTEST(values.test, "test");
    QTEST(values.numbers, "numbers");
}

void TestCommandLine::hoursWithEitherSeparator_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QChar>("systemSeparator");
    for (const QChar separator : {QChar(u'.'), QChar(u','), QChar(0x066B)}) {
        const QString name = separator == u'.' ? "point" : separator == u',' ? "comma" : "arabic";
        QTest::addRow("1,5 on %s system", qPrintable(name)) << "SPRAWDAJ_CO_N_H=1,5" << separator;
        QTest::addRow("1.5 on %s system", qPrintable(name)) << "SPRAWDAJ_CO_N_H=1.5" << separator;
    }
}

void TestCommandLine::hoursWithEitherSeparator()
{
    QFETCH(QString, argument);
    QFETCH(QChar, systemSeparator);
    CommandLineValues values;
    ReadArguments({argument}, values, systemSeparator);
    QCOMPARE(values.numbers.checkPeriod, 5400000);
}

void TestCommandLine::rejectsNonNumbers_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("letters for seconds") << "PIERWSZE_POLACZENIE_PO_N_S=abc";
    QTest::newRow("fraction for seconds") << "PIERWSZE_POLACZENIE_PO_N_S=1.5";
    QTest::newRow("empty hours") << "SPRAWDAJ_CO_N_H=";
    QTest::newRow("two separators") << "PONAWIAJ_PROBE_WYSLANIA_CO_N_H=1,5,5";
    QTest::newRow("word for attempts") << "MAX_LICZBA_PROBFTP=pięć";
    QTest::newRow("seconds beyond 32 bits") << "PIERWSZE_POLACZENIE_PO_N_S=3000000";
    QTest::newRow("not finite") << "SPRAWDAJ_CO_N_H=inf";
}

void TestCommandLine::rejectsNonNumbers()
{
    QFETCH(QString, argument);
    CommandLineValues values;
    try {
        ReadArguments({"BAZA=x", argument}, values, u'.');
        QFAIL("no conversion error");
    } catch (const EConvertError& error) {
        // The message names the argument so that the operator can find it.
        QVERIFY2(QString::fromUtf8(error.what()).contains(argument), error.what());
    }
}

void TestCommandLine::adjustsPeriods_data()
{
    QTest::addColumn<SchedulerNumbers>("given");
    QTest::addColumn<SchedulerNumbers>("adjusted");
    QTest::newRow("defaults unchanged")
        << SchedulerNumbers::Defaults() << SchedulerNumbers::Defaults();
    QTest::newRow("100 ms values move off the start marker")
        << SchedulerNumbers{100, 100, 100, 5} << SchedulerNumbers{101, 102, 103, 5};
    QTest::newRow("periods equal to the delay")
        << SchedulerNumbers{60000, 60000, 60000, 5} << SchedulerNumbers{60000, 60110, 60120, 5};
    QTest::newRow("zero delay and zero check period")
        << SchedulerNumbers{0, 0, 900000, 5} << SchedulerNumbers{0, 110, 900000, 5};
    QTest::newRow("delay 100 and check period 101")
        << SchedulerNumbers{100, 101, 5, 5} << SchedulerNumbers{101, 211, 5, 5};
}

void TestCommandLine::adjustsPeriods()
{
    QFETCH(SchedulerNumbers, given);
    AdjustPeriods(given);
    QTEST(given, "adjusted");
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
