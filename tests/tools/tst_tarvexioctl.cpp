// tarvexioctl against the test FTP server and demo databases: what it shows and changes is what
// the agent reads, and nothing it prints holds a password.
#include "app/agent_chain.h"
#include "config/configuration_file.h"
#include "config/parameter_lines.h"
#include "config/parameter_list.h"
#include "config/password_coding.h"
#include "config/settings_stores.h"
#include "db/session.h"
#include "db/shop_catalogue.h"
#include "support/ftp_server.h"

#include <QTest>

using namespace tarvexio;
using namespace tarvexio::test;

namespace {

struct Run {
    int exitCode = -1;
    QString output; // stdout and stderr
};

Run ctl(const QString& home, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TARVEXIO_HOME"), home);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(qEnvironmentVariable("TARVEXIO_CTL_BINARY"), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, QStringLiteral("did not end normally: ") + process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

} // namespace

class TestTarvexioctl : public QObject {
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void passwordReachesTheAgentsReader_data();
    void passwordReachesTheAgentsReader();
    void setThenSendNowDeliversAtOnce();
    void attemptLimitThenSentByHand();
};

void TestTarvexioctl::commands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("serverPassword");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    const auto row = [](const char* tag, const char* arguments, const char* input, int exitCode,
                        const char* said, const char* serverPassword = "haslo") {
        QTest::newRow(tag) << QString::fromUtf8(arguments).split(u' ') << QByteArray(input)
                           << serverPassword << exitCode << QString::fromUtf8(said);
    };
    row("show", "show", "", 0, "ParHasloFTP=(set)\n");
    row("show as JSON", "show --json", "", 0, "\"ParHasloFTP\": \"(set)\"");
    row("a password from standard input", "set ftp.password", "haslo\n", 0,
        "Saved to the Konfig table and ");
    row("a password on the command line", "set ftp.password=haslo", "", 2,
        "never from the command line");
    row("bad values change nothing", "set ftp.port=0 export.time=24:00 shop.7.code=X", "", 2,
        "ftp.port: a port is a number from 1 to 65535\nexport.time: expected HH:MM, 00:00 to "
        "23:59\nshop.7.code: no shop with that id in the database\nNothing was changed.");
    row("the connection test", "test", "", 0,
        "Łączenie z 127.0.0.1: OK\nListing: inny.txt\nTest połączenia przebiegł pomyślnie");
    row("the connection test, password refused", "test", "", 1,
        "Test połączenia nie powiódł się: FTP login: 530", "inne");
    row("send-now without an agent", "send-now", "", 1, "No agent runs for the exchange");
    row("status, all well", "status", "", 0, "Agent: not running\nLast exported day: ");
    row("sending a file that is not there", "send brak.DAT", "", 2, "brak.DAT: no such file");
    row("an unknown command", "wyslij", "", 2, "Usage: tarvexioctl COMMAND");
}

void TestTarvexioctl::commands()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, serverPassword);
    FtpServer server({"--password", serverPassword});
    Chain chain(2, server.port(), Today.addDays(-1));
    QVERIFY(server.started() && chain.created);
    writeFile(server.root() + QStringLiteral("/inny.txt"), "x");
    const QStringList before = konfigRows(chain.database);
    QFETCH(QByteArray, input);
    const Run run = ctl(chain.home.path(), arguments << "BAZA=" + chain.database, input);
    QTEST(run.exitCode, "exitCode");
    QFETCH(QString, said);
    QVERIFY2(run.output.contains(said), qPrintable(run.output));
    // No secret in any output, plain or coded.
    for (const QString& secret : {QStringLiteral("haslo"), KodowanieHasla(QStringLiteral("haslo"))})
        QVERIFY2(!run.output.contains(secret), qPrintable(run.output));
    if (run.exitCode == 2)
        QCOMPARE(konfigRows(chain.database), before);
}

void TestTarvexioctl::passwordReachesTheAgentsReader_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("saveMode");
    QTest::newRow("SQLite, table and file") << "sqlite" << int(SettingsStores::TableAndFile);
    QTest::newRow("PostgreSQL, file only") << "postgresql" << int(SettingsStores::FileOnly);
}

void TestTarvexioctl::passwordReachesTheAgentsReader()
{
    QFETCH(QString, engine);
    QFETCH(int, saveMode);
    QTemporaryDir home;
    const QString database = freshDatabase(
        engine, home.filePath(QStringLiteral("qmx.db")),
        {"insert into Sklep values (1, 'Sklep Łódź')",
         QStringLiteral("insert into Konfig values ('Tarvexio', 'ParZapisKonfig', '%1'), "
                        "('Tarvexio', 'ParKonfigZPliku', '%2')")
             .arg(saveMode)
             .arg(saveMode == SettingsStores::FileOnly ? 1 : 0)});
    // A file-only agent reads its file: that is where its mode is found.
    if (saveMode == SettingsStores::FileOnly) {
        QStringList lines;
        addParameterLine(lines, QStringLiteral("ParZapisKonfig"), QString::number(saveMode));
        addParameterLine(lines, QStringLiteral("ParKonfigZPliku"), QStringLiteral("1"));
        QVERIFY(saveParameterFile(home.filePath(QStringLiteral("tarvexio.cfg")), lines));
    }
    const QString password = QStringLiteral("Zażółć gęślą 1%");
    const Run run = ctl(home.path(), {"set", "BAZA=" + database, "IDENT=test", "ftp.password"},
                        password.toUtf8() + '\n');
    QVERIFY2(run.exitCode == 0, qPrintable(run.output));

    // Read back as the agent's start reads it: the store the read-from-file row names.
    auto session = Connect(database);
    const SettingsStores stores(*session, home.filePath(QStringLiteral("tarvexio.cfg")));
    QCOMPARE(stores.readsFile(), saveMode == SettingsStores::FileOnly);
    TDmQMXWDWykazy catalogue(*session);
    catalogue.WczytajKonfiguracje();
    TKonfigEksportu record(catalogue, home.path());
    readParameterList(stores.startLines(), record);
    QCOMPARE(record.ftp.ParHasloFTP, password);
    QVERIFY(!readFile(home.filePath(QStringLiteral("tarvexio.cfg"))).contains("Zaż"));
}

void TestTarvexioctl::setThenSendNowDeliversAtOnce()
{
    // The agent's password is wrong, and it would retry only in an hour.
    FtpServer server({"--password", "nowe-haslo", "--max-seconds", "240"});
    Chain chain(1, server.port(), Today.addDays(-2));
    QVERIFY(server.started() && chain.created);
    QStringList arguments = chain.agentArguments();
    arguments.replaceInStrings(QStringLiteral("PONAWIAJ_PROBE_WYSLANIA_CO_N_H=0,0002"),
                               QStringLiteral("PONAWIAJ_PROBE_WYSLANIA_CO_N_H=1"));
    AgentProcess agent(chain.home.path(), arguments);
    QTRY_VERIFY_WITH_TIMEOUT(chain.log().contains(u"Wystąpiły błędy podczas wysyłania pliku"),
                             30000);
    QCOMPARE(chain.lastExportedDay(), Today.addDays(-2));

    const QString names = "BAZA=" + chain.database;
    QCOMPARE(ctl(chain.home.path(), {"set", names, "ftp.password"}, "nowe-haslo\n").exitCode, 0);
    const Run sendNow = ctl(chain.home.path(), {"send-now", names});
    QVERIFY2(sendNow.exitCode == 0, qPrintable(sendNow.output));
    QTRY_COMPARE_WITH_TIMEOUT(chain.lastExportedDay(), Today.addDays(-1), 20000);
    QVERIFY(chain.log().contains(u"Ustawienia zmienione poza programem zostały wczytane"));
    QCOMPARE(dataFiles(server.root()), expected({"K1"}, {Today.addDays(-1)}));
    QVERIFY(agent.stop());
}

void TestTarvexioctl::attemptLimitThenSentByHand()
{
    // Two days to catch up, a server that is down, one attempt, the next retry in an hour.
    const quint16 port = freePort();
    Chain chain(1, port, Today.addDays(-3));
    QVERIFY(chain.created);
    const QString names = "BAZA=" + chain.database;
    const Run overdue = ctl(chain.home.path(), {"status", names});
    QCOMPARE(overdue.exitCode, 1);
    QVERIFY2(overdue.output.contains("Agent: not running\nLast exported day: " +
                                     Today.addDays(-3).toString(Qt::ISODate)),
             qPrintable(overdue.output));
    QVERIFY(overdue.output.contains("ALERT: the day " + Today.addDays(-2).toString(Qt::ISODate) +
                                    " is overdue"));

    QStringList arguments = chain.agentArguments();
    arguments.replaceInStrings(QStringLiteral("PONAWIAJ_PROBE_WYSLANIA_CO_N_H=0,0002"),
                               QStringLiteral("PONAWIAJ_PROBE_WYSLANIA_CO_N_H=1"));
    arguments.replaceInStrings(QStringLiteral("MAX_LICZBA_PROBFTP=2"),
                               QStringLiteral("MAX_LICZBA_PROBFTP=1"));
    // Its next check an hour away too: only send-now makes it look again.
    arguments.replaceInStrings(QStringLiteral("SPRAWDAJ_CO_N_H=0,0001"),
                               QStringLiteral("SPRAWDAJ_CO_N_H=1"));
    AgentProcess agent(chain.home.path(), arguments);
    Run gaveUp;
    QTRY_VERIFY_WITH_TIMEOUT((gaveUp = ctl(chain.home.path(), {"status", names}))
                                 .output.contains(u"ALERT: the attempt limit was reached"),
                             30000);
    QCOMPARE(gaveUp.exitCode, 1);
    QVERIFY2(gaveUp.output.contains(u"Agent: running") &&
                 gaveUp.output.contains(u"Waiting files: 1") &&
                 gaveUp.output.contains(u"Ostatnia próba wysłania pliku"),
             qPrintable(gaveUp.output));

    // The operator sends the file by hand once the server is back; the next tick records the
    // day and catches up the one after.
    FtpServer server({"--port", QString::number(port), "--max-seconds", "240"});
    QVERIFY(server.started());
    const QStringList waiting = QDir(chain.exchange).entryList({"*.DAT"}, QDir::Files);
    QCOMPARE(waiting.size(), 1);
    const Run sent =
        ctl(chain.home.path(), {"send", names, QDir(chain.exchange).filePath(waiting[0])});
    QVERIFY2(sent.exitCode == 0 && sent.output.contains(waiting[0] + ": sent"),
             qPrintable(sent.output));
    QCOMPARE(ctl(chain.home.path(), {"send-now", names}).exitCode, 0);
    QTRY_COMPARE_WITH_TIMEOUT(chain.lastExportedDay(), Today.addDays(-1), 30000);
    QVERIFY(chain.log().contains(u"wysłano ręcznie (tarvexioctl send)"));
    QCOMPARE(dataFiles(server.root()), expected({"K1"}, {Today.addDays(-2), Today.addDays(-1)}));
    // The agent tells its state at the end of the tick.
    Run caughtUp;
    QTRY_VERIFY_WITH_TIMEOUT((caughtUp = ctl(chain.home.path(), {"status", names})).exitCode == 0,
                             10000);
    QVERIFY2(caughtUp.output.contains(u"Waiting files: 0"), qPrintable(caughtUp.output));
    QVERIFY(agent.stop());
}

QTEST_GUILESS_MAIN(TestTarvexioctl)
#include "tst_tarvexioctl.moc"
