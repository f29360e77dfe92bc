// tarvexioctl asking the real agent through its control socket, and standing in for it where
// none runs: what it shows and changes is what the agent uses, only the agent uploads, and
// nothing it prints holds a password.
#include "app/agent_chain.h"
#include "app/exchange_lock.h"
#include "config/parameter_lines.h"
#include "config/parameter_list.h"
#include "config/password_coding.h"
#include "config/settings_stores.h"
#include "db/session.h"
#include "db/shop_catalogue.h"
#include "support/ftp_server.h"

#include <QDeadlineTimer>
#include <QHostInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTest>

#include <unistd.h>

using namespace tarvexio;
using namespace tarvexio::test;

namespace {

struct Run {
    int exitCode = -1;
    QString output; // stdout and stderr
};

// The tool's environment: the agent's program folder and the socket it asks at.
QProcessEnvironment toolEnvironment(const QString& home, const QString& control)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TARVEXIO_HOME"), home);
    environment.insert(QStringLiteral("TARVEXIO_CONTROL"), control);
    return environment;
}

// wrapper: a program and its arguments that run the tool (as another user).
void startCtl(QProcess& process, const QProcessEnvironment& environment,
              const QStringList& arguments, const QStringList& wrapper = {})
{
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList line =
        wrapper + QStringList{qEnvironmentVariable("TARVEXIO_CTL_BINARY")} + arguments;
    process.start(line.front(), line.mid(1));
}

Run finish(QProcess& process, const QByteArray& input = {})
{
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, QStringLiteral("did not end normally: ") + process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

Run ctl(const QProcessEnvironment& environment, const QStringList& arguments,
        const QByteArray& input = {})
{
    QProcess process;
    startCtl(process, environment, arguments);
    return finish(process, input);
}

// The days the log says were exported, in its order ("... za dzień dd.MM.yyyy").
QList<QDate> exportedDays(const QString& log)
{
    static const QRegularExpression line(QStringLiteral(
        "Wygenerowano plik raportu ze sklepu .* za dzień (\\d\\d\\.\\d\\d\\.\\d{4})"));
    QList<QDate> days;
    for (auto match = line.globalMatch(log); match.hasNext();)
        days << QDate::fromString(match.next().captured(1), QStringLiteral("dd.MM.yyyy"));
    return days;
}

QList<QDate> daysFrom(int first, int last)
{
    QList<QDate> days;
    for (int back = first; back >= last; --back)
        days << Today.addDays(-back);
    return days;
}

QStringList withArgument(QStringList arguments, const QString& from, const QString& to)
{
    return arguments.replaceInStrings(from, to);
}

// One line to the socket and the answer's line; an empty object when none comes.
QJsonObject askRaw(QLocalSocket& socket, const QByteArray& bytes)
{
    socket.write(bytes);
    socket.flush();
    QDeadlineTimer deadline(10000);
    while (!socket.canReadLine() && socket.state() == QLocalSocket::ConnectedState &&
           !deadline.hasExpired())
        socket.waitForReadyRead(100);
    return QJsonDocument::fromJson(socket.readLine()).object();
}

} // namespace

class TestTarvexioctl : public QObject {
    Q_OBJECT
private slots:
    void withoutAnAgent_data();
    void withoutAnAgent();
    void passwordReachesTheAgentsReader_data();
    void passwordReachesTheAgentsReader();
    void answersFromTheAgentsStart();
    void lastDaySetIsWhereTheNextChoiceStarts_data();
    void lastDaySetIsWhereTheNextChoiceStarts();
    void setDuringATickSurvivesItsSave();
    void sendWaitsForTheAgentsUpload();
    void sentByHandAfterTheLastAttempt();
    void strayClientsLeaveTheAgentWorking();
};

void TestTarvexioctl::withoutAnAgent_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("serverPassword");
    QTest::addColumn<bool>("staleLock");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    const auto row = [](const char* tag, const char* arguments, const char* input, int exitCode,
                        const char* said, const char* serverPassword = "haslo",
                        bool staleLock = false) {
        QTest::newRow(tag) << QString::fromUtf8(arguments).split(u' ') << QByteArray(input)
                           << serverPassword << staleLock << exitCode << QString::fromUtf8(said);
    };
    // The keys set takes, the parameter's name alongside; typed values in JSON.
    row("show", "show", "", 0, "\nftp.password=(set)                              # ParHasloFTP\n");
    row("show as JSON", "show --json", "", 0,
        "\"key\": \"ftp.default_port\",\n            \"name\": \"ParDomyslnyPortFTP\",\n"
        "            \"value\": false");
    row("every key", "keys", "", 0,
        "consent.daily_receipts                 ParDzLPar, flag (0 or 1)");
    row("a setting the agent fixes", "set ftp.passive=0", "", 2,
        "ftp.passive: fixed: the agent always uses passive data connections");
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
    // For a monitor, a dead agent is critical.
    row("status", "status", "", 2, "CRITICAL - the agent is not running\nAgent: not running");
    row("sending a file that is not there", "send brak.DAT", "", 2, "brak.DAT: no such file");
    row("an unknown command", "wyslij", "", 2, "unknown command 'wyslij'\nUsage: tarvexioctl");
    row("a misspelt command", "stauts", "", 2, "unknown command 'stauts' (did you mean status?)");
    row("a misspelt key", "set ftp.sever=kvr.example", "", 2,
        "ftp.sever: no such setting (did you mean ftp.server?)");
    // A monitor reads 2 as critical: arguments it cannot take leave the state unknown.
    row("status with a wrong argument", "status --verbose", "", 3,
        "UNKNOWN - wrong arguments for status: --verbose");
    // A lock naming a live process that is no agent: nothing is signalled, the lock taken over.
    row("send-now, a stale lock", "send-now", "", 1, "no agent runs", "haslo", true);
    row("set, a stale lock", "set export.time=06:15", "", 0, "Saved to", "haslo", true);
}

void TestTarvexioctl::withoutAnAgent()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, serverPassword);
    QFETCH(bool, staleLock);
    FtpServer server({"--password", serverPassword});
    Chain chain(2, server.port(), Today.addDays(-1));
    QVERIFY(server.started() && chain.created);
    writeFile(server.root() + QStringLiteral("/inny.txt"), "x");
    QProcess sleeper;
    if (staleLock) {
        sleeper.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(sleeper.waitForStarted());
        writeFile(QDir(chain.exchange).filePath(ExchangeLockName),
                  QByteArray::number(sleeper.processId()) + "\ntarvexiod\n" +
                      QHostInfo::localHostName().toUtf8() + '\n');
    }
    const QStringList before = konfigRows(chain.database);
    QFETCH(QByteArray, input);
    const QProcessEnvironment tool =
        toolEnvironment(chain.home.path(), chain.home.filePath(QStringLiteral("none.sock")));
    const Run run = ctl(tool, arguments << "BAZA=" + chain.database, input);
    QTEST(run.exitCode, "exitCode");
    QFETCH(QString, said);
    QVERIFY2(run.output.contains(said), qPrintable(run.output));
    // No secret in any output, plain or coded.
    for (const QString& secret : {QStringLiteral("haslo"), KodowanieHasla(QStringLiteral("haslo"))})
        QVERIFY2(!run.output.contains(secret), qPrintable(run.output));
    if (run.exitCode == 2)
        QCOMPARE(konfigRows(chain.database), before);
    if (staleLock) {
        QCOMPARE(sleeper.state(), QProcess::Running);
        sleeper.kill();
        sleeper.waitForFinished();
    }
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
    const Run run =
        ctl(toolEnvironment(home.path(), home.filePath(QStringLiteral("none.sock"))),
            {"set", "BAZA=" + database, "IDENT=test", "ftp.password"}, password.toUtf8() + '\n');
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

void TestTarvexioctl::answersFromTheAgentsStart()
{
    // Its first connection a minute away: what the tool learns, it learns from the agent.
    const quint16 port = freePort();
    Chain chain(1, port, Today.addDays(-1));
    QVERIFY(chain.created);
    AgentProcess agent(chain.home.path(),
                       withArgument(chain.agentArguments(), "PIERWSZE_POLACZENIE_PO_N_S=0",
                                    "PIERWSZE_POLACZENIE_PO_N_S=60"));
    // As "sudo tarvexioctl" has it: no names, no program folder; the runtime folder leads.
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"TARVEXIO_HOME", "TARVEXIO_CONTROL", "TARVEXIO_BAZA"})
        bare.remove(QString::fromLatin1(name));
    bare.insert(QStringLiteral("XDG_RUNTIME_DIR"), agent.runtimeFolder());
    QTRY_VERIFY(QFile::exists(agent.controlSocket()));
    QTRY_COMPARE(QFileInfo(agent.controlSocket()).permissions(),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                     QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::WriteGroup);
    const QString running =
        QStringLiteral("Agent: running (process %1)").arg(agent.process.processId());
    const Run first = ctl(bare, {"status"});
    QVERIFY2(first.output.contains(running), qPrintable(first.output));
    Run status;
    QTRY_VERIFY_WITH_TIMEOUT((status = ctl(bare, {"status"})).exitCode == 0, 10000);
    QVERIFY2(status.output.startsWith(u"OK - the last exported day is "),
             qPrintable(status.output));
    QVERIFY2(
        status.output.contains("Last exported day: " + Today.addDays(-1).toString(Qt::ISODate)),
        qPrintable(status.output));

    writeFile(chain.exchange + QStringLiteral("/notes.txt"), "x");
    writeFile(chain.home.filePath(QStringLiteral("PSHD_K1_HD0001_20261201_120000.DAT")), "x");
    const struct {
        QStringList arguments;
        int exitCode;
        QString said;
    } asked[] = {
        {{"get", "ParPortFTP"}, 0, QString::number(port) + u'\n'},
        {{"send", chain.exchange + "/notes.txt"}, 2, "not a data file"},
        {{"send", chain.home.filePath("PSHD_K1_HD0001_20261201_120000.DAT")},
         2,
         "not in the exchange directory"},
        {{"set", "ftp.port=0"}, 2, "ftp.port: a port is a number from 1 to 65535"},
    };
    for (const auto& question : asked) {
        const Run run = ctl(bare, question.arguments);
        QVERIFY2(run.exitCode == question.exitCode && run.output.contains(question.said),
                 qPrintable(question.arguments.join(u' ') + ": " + run.output));
    }
    QVERIFY(!chain.log().contains(u"Połączono się z bazą"));
    QVERIFY(agent.stop());
    QVERIFY(chain.log().endsWith(u"Koniec pracy programu: sygnał SIGTERM\r\n"));
}

void TestTarvexioctl::lastDaySetIsWhereTheNextChoiceStarts_data()
{
    QTest::addColumn<int>("startsBack");
    QTest::newRow("an idle agent") << 1;
    QTest::newRow("between two catch-up ticks") << 9;
}

void TestTarvexioctl::lastDaySetIsWhereTheNextChoiceStarts()
{
    QFETCH(int, startsBack);
    FtpServer server({"--max-seconds", "110"});
    Chain chain(1, server.port(), Today.addDays(-startsBack));
    QVERIFY(server.started() && chain.created);
    AgentProcess agent(chain.home.path(), chain.agentArguments());
    const QProcessEnvironment tool = toolEnvironment(chain.home.path(), agent.controlSocket());
    QTRY_VERIFY(QFile::exists(agent.controlSocket()));
    if (startsBack > 1)
        QTRY_VERIFY_WITH_TIMEOUT(!exportedDays(chain.log()).isEmpty(), 30000);
    // Wherever the catch-up stands, the operator's day is where the next choice starts.
    const Run set =
        ctl(tool, {"set", "export.last_day=" + Today.addDays(-6).toString(Qt::ISODate)});
    QVERIFY2(set.exitCode == 0, qPrintable(set.output));
    const auto afterSet = [&chain] {
        const QString log = chain.log();
        const qsizetype at = log.indexOf(u"(tarvexioctl set): export.last_day");
        return at < 0 ? QList<QDate>{QDate()} : exportedDays(log.mid(at));
    };
    QTRY_VERIFY_WITH_TIMEOUT(afterSet().contains(Today.addDays(-1)), 60000);
    QTRY_COMPARE(chain.lastExportedDay(), Today.addDays(-1));
    QVERIFY(agent.stop());
    QCOMPARE(afterSet(), daysFrom(5, 1));
}

void TestTarvexioctl::setDuringATickSurvivesItsSave()
{
    // Every upload stalls for two seconds: the tick that exports yesterday takes a while.
    FtpServer server({"--stall-stor", "2", "--max-seconds", "110"});
    Chain chain(1, server.port(), Today.addDays(-2));
    QVERIFY(server.started() && chain.created);
    AgentProcess agent(chain.home.path(), chain.agentArguments());
    const QProcessEnvironment tool = toolEnvironment(chain.home.path(), agent.controlSocket());
    // A password typed slowly, all through the tick.
    QProcess typist;
    startCtl(typist, tool, {"set", "ftp.password"});
    QTRY_VERIFY_WITH_TIMEOUT(server.commands().join(u' ').contains(u"STOR"), 30000);
    const Run set = ctl(tool, {"set", "export.time=05:45"});
    QVERIFY2(set.exitCode == 0, qPrintable(set.output));
    // Answered once the tick had ended: the tick's day saved, then the operator's change.
    QCOMPARE(chain.lastExportedDay(), Today.addDays(-1));
    const Run typed = finish(typist, "nowe-haslo\n");
    QVERIFY2(typed.exitCode == 0, qPrintable(typed.output));
    QVERIFY(agent.stop());
    const QStringList rows = konfigRows(chain.database);
    QCOMPARE(chain.lastExportedDay(), Today.addDays(-1));
    QVERIFY2(rows.contains(u"ParGodz=5") && rows.contains(u"ParMin=45") &&
                 rows.contains("ParHasloFTP=" + KodowanieHasla(QStringLiteral("nowe-haslo"))),
             qPrintable(rows.join(u' ')));
    const QString log = chain.log();
    QVERIFY(log.indexOf(u"(tarvexioctl set): export.time") >
            log.indexOf(u"Wygenerowano plik raportu"));
    QVERIFY(log.contains(u"(tarvexioctl set): ftp.password"));
}

void TestTarvexioctl::sendWaitsForTheAgentsUpload()
{
    FtpServer server({"--stall-stor", "2", "--max-seconds", "110"});
    Chain chain(1, server.port(), Today.addDays(-2));
    QVERIFY(server.started() && chain.created);
    // The same shop's file of another day, sent by hand while the agent uploads.
    const QString byHand =
        chain.exchange + "/PSHD_K1_HD0001_" + dayText(Today.addDays(-5)) + "_120000.DAT";
    writeFile(byHand, QByteArray(200000, 'r'));
    AgentProcess agent(chain.home.path(), chain.agentArguments());
    QTRY_VERIFY_WITH_TIMEOUT(server.commands().join(u' ').contains(u"STOR"), 30000);
    const Run sent =
        ctl(toolEnvironment(chain.home.path(), agent.controlSocket()), {"send", byHand});
    QVERIFY2(sent.exitCode == 0 && sent.output.contains(QFileInfo(byHand).fileName() + ": sent"),
             qPrintable(sent.output));
    QVERIFY(agent.stop());
    // One upload at a time: each STOR's rename before the next STOR.
    const QStringList steps =
        server.commands().filter(QRegularExpression(QStringLiteral("^(STOR|RNTO)")));
    QCOMPARE(steps.size(), 4);
    for (qsizetype i = 0; i < steps.size(); ++i)
        QVERIFY2(steps[i].startsWith(i % 2 == 0 ? u"STOR" : u"RNTO"), qPrintable(steps.join(u' ')));
    QCOMPARE(dataFiles(server.root()), expected({"K1"}, {Today.addDays(-5), Today.addDays(-1)}));
    QCOMPARE(readFile(server.root() + u'/' + QFileInfo(byHand).fileName()), readFile(byHand));
    QVERIFY(QDir(server.root()).entryList({QStringLiteral("*.tmp")}).isEmpty());
}

void TestTarvexioctl::sentByHandAfterTheLastAttempt()
{
    // Two days to catch up, a server that is down, one attempt, the next retry in an hour and
    // the next check too: only the operator makes it go on.
    const quint16 port = freePort();
    Chain chain(1, port, Today.addDays(-3));
    QVERIFY(chain.created);
    QStringList arguments = chain.agentArguments();
    for (const auto& [from, to] :
         {std::pair{"PONAWIAJ_PROBE_WYSLANIA_CO_N_H=0,0002", "PONAWIAJ_PROBE_WYSLANIA_CO_N_H=1"},
          std::pair{"MAX_LICZBA_PROBFTP=2", "MAX_LICZBA_PROBFTP=1"},
          std::pair{"SPRAWDAJ_CO_N_H=0,0001", "SPRAWDAJ_CO_N_H=1"}})
        arguments = withArgument(arguments, from, to);
    AgentProcess agent(chain.home.path(), arguments);
    const QProcessEnvironment tool = toolEnvironment(chain.home.path(), agent.controlSocket());
    Run gaveUp;
    QTRY_VERIFY_WITH_TIMEOUT((gaveUp = ctl(tool, {"status"}))
                                 .output.contains(u"CRITICAL: the attempt limit was reached"),
                             30000);
    QCOMPARE(gaveUp.exitCode, 2);
    // The summary names the day and the server's refusal; the counter agrees with the limit.
    QVERIFY2(gaveUp.output.startsWith(QStringLiteral("CRITICAL - %1 not delivered: ")
                                          .arg(Today.addDays(-2).toString(u"dd.MM.yyyy"))) &&
                 gaveUp.output.contains(u"Failed attempts: 1 of 1"),
             qPrintable(gaveUp.output));
    QVERIFY2(gaveUp.output.contains(u"Waiting files: 1") &&
                 gaveUp.output.contains(u"Ostatnia próba wysłania pliku"),
             qPrintable(gaveUp.output));

    // Once the server is back the operator sends the file; the next tick records the day and
    // catches up the one after.
    FtpServer server({"--port", QString::number(port), "--max-seconds", "110"});
    QVERIFY(server.started());
    const QStringList waiting = QDir(chain.exchange).entryList({"*.DAT"}, QDir::Files);
    QCOMPARE(waiting.size(), 1);
    const Run sent = ctl(tool, {"send", QDir(chain.exchange).filePath(waiting[0])});
    QVERIFY2(sent.exitCode == 0 && sent.output.contains(waiting[0] + ": sent"),
             qPrintable(sent.output));
    QCOMPARE(ctl(tool, {"send-now"}).exitCode, 0);
    QTRY_COMPARE_WITH_TIMEOUT(chain.lastExportedDay(), Today.addDays(-1), 30000);
    QVERIFY(chain.log().contains(u"wysłano ręcznie (tarvexioctl send)"));
    QCOMPARE(dataFiles(server.root()), expected({"K1"}, {Today.addDays(-2), Today.addDays(-1)}));
    const Run caughtUp = ctl(tool, {"status"});
    QVERIFY2(caughtUp.exitCode == 0 && caughtUp.output.contains(u"Waiting files: 0"),
             qPrintable(caughtUp.output));
    QVERIFY(agent.stop());
}

void TestTarvexioctl::strayClientsLeaveTheAgentWorking()
{
    FtpServer server({"--max-seconds", "110"});
    Chain chain(1, server.port(), Today.addDays(-3));
    QVERIFY(server.started() && chain.created);
    AgentProcess agent(chain.home.path(),
                       withArgument(chain.agentArguments(), "PIERWSZE_POLACZENIE_PO_N_S=0",
                                    "PIERWSZE_POLACZENIE_PO_N_S=2"));
    QTRY_VERIFY(QFile::exists(agent.controlSocket()));
    // One says nothing, one sends half a line; both hold on.
    QLocalSocket silent;
    QLocalSocket half;
    for (QLocalSocket* socket : {&silent, &half}) {
        socket->connectToServer(agent.controlSocket());
        QVERIFY(socket->waitForConnected(5000));
    }
    half.write(R"({"protocol":1,)");
    half.flush();

    const struct {
        QByteArray line;
        QString error;
    } stray[] = {
        {"not JSON\n", "one JSON object a line"},
        {R"({"protocol":2,"command":"status"})"
         "\n",
         "this agent speaks protocol 1"},
        {R"({"protocol":1,"command":"wyslij"})"
         "\n",
         "unknown command 'wyslij'"},
        {QByteArray(300 * 1024, 'x') + '\n', "a request line may hold"},
    };
    for (const auto& [line, error] : stray) {
        QLocalSocket socket;
        socket.connectToServer(agent.controlSocket());
        QVERIFY(socket.waitForConnected(5000));
        const QJsonObject answer = askRaw(socket, line);
        QVERIFY2(!answer.value(u"ok").toBool(true) &&
                     answer.value(u"error").toString().contains(error),
                 qPrintable(QJsonDocument(answer).toJson()));
    }
    const QJsonObject completed = askRaw(half, R"("command":"status"})"
                                               "\n");
    QVERIFY(completed.value(u"ok").toBool());

    // A user who is neither root, the agent's user nor in its group is turned away.
    if (::geteuid() == 0) {
        QFile::setPermissions(agent.runtimeFolder(), QFile::ReadOwner | QFile::WriteOwner |
                                                         QFile::ExeOwner | QFile::ExeOther);
        QFile::setPermissions(agent.controlSocket(), QFile::ReadOther | QFile::WriteOther |
                                                         QFile::ReadOwner | QFile::WriteOwner);
        QProcess stranger;
        startCtl(stranger, toolEnvironment(chain.home.path(), agent.controlSocket()), {"status"},
                 {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
        const Run refused = finish(stranger);
        QVERIFY2(refused.exitCode == 3 && refused.output.startsWith(u"UNKNOWN - not allowed"),
                 qPrintable(refused.output));
        QVERIFY(chain.log().contains(u"odmówiono dostępu do gniazda sterującego (uid 65534"));
    }
    // The ticks go on: both days exported while the silent client holds on.
    QTRY_COMPARE_WITH_TIMEOUT(chain.lastExportedDay(), Today.addDays(-1), 30000);
    QCOMPARE(silent.state(), QLocalSocket::ConnectedState);
    QVERIFY(agent.stop());
}

QTEST_GUILESS_MAIN(TestTarvexioctl)
#include "tst_tarvexioctl.moc"
