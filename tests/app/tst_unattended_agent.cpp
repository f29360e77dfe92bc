// The real agent, headless and unattended, doing its daily job against an FTP server on
// 127.0.0.1 with periods shortened by its command line.
#include "config/konfig_eksportu.h"
#include "support/agent_process.h"
#include "support/files.h"
#include "support/ftp_server.h"
#include "support/test_database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

using namespace tarvexio;
using test::AgentProcess;

namespace {

const QDate Today = QDate::currentDate();

QString DayText(const QDate& day)
{
    return day.toString(QStringLiteral("yyyyMMdd"));
}

// A small demo chain that carries the agent's settings: shop codes K1, K2, ..., the server,
// and the last exported day.
struct Chain {
    Chain(int shops, quint16 port, const QDate& lastExported)
        : exchange(home.filePath(QStringLiteral("wymiana")))
        , database(home.filePath(QStringLiteral("qmx.db")))
    {
        QDir().mkpath(exchange);
        QStringList arguments{"--shops", QString::number(shops), "--goods", "30", "--days", "10"};
        QStringList settings =
            QStringLiteral("ParEksportDir=%1 ParSerwerFTP=127.0.0.1 ParPortFTP=%2 "
                           "ParDomyslnyPortFTP=0 ParUserFTP=tarvexio ParHasloFTP=haslo "
                           "ParFolderFTP=./ ParDataOstEksp=%3")
                .arg(exchange)
                .arg(port)
                .arg(DayNumber(lastExported))
                .split(u' ');
        for (int shop = 1; shop <= shops; ++shop)
            settings << QStringLiteral("ParKodKVR#%1=K%1").arg(shop);
        for (const QString& setting : settings)
            arguments << "--setting" << setting;
        created = QProcess::execute(qEnvironmentVariable("TARVEXIO_DEMO_DB_BINARY"),
                                    arguments << database) == 0;
    }

    QStringList agentArguments() const
    {
        return ("BAZA=" + database +
                " IDENT=test PIERWSZE_POLACZENIE_PO_N_S=0 SPRAWDAJ_CO_N_H=0,0001 "
                "PONAWIAJ_PROBE_WYSLANIA_CO_N_H=0,0002 MAX_LICZBA_PROBFTP=2")
            .split(u' ');
    }
    QString log() const { return test::ReadAgentLog(home.path()); }
    QDate lastExportedDay() const
    {
        const QString row = test::KonfigRows(database).filter(u"ParDataOstEksp=").value(0);
        return DayFromNumber(row.section(u'=', 1).toInt());
    }

    QTemporaryDir home;
    QString exchange;
    QString database;
    bool created = false;
};

// The days of the data files in a folder, one entry per file ("K1 20261205").
QStringList DataFiles(const QString& folder)
{
    QStringList found;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.DAT")}, QDir::Files))
        found << name.section(u'_', 1, 1) + u' ' + name.section(u'_', 3, 3);
    found.sort();
    return found;
}

QStringList Expected(const QStringList& codes, const QList<QDate>& days)
{
    QStringList expected;
    for (const QString& code : codes) {
        for (const QDate& day : days)
            expected << code + u' ' + DayText(day);
    }
    expected.sort();
    return expected;
}

} // namespace

class TestUnattendedAgent : public QObject {
    Q_OBJECT
private slots:
    void catchesUpThenServesRequests();
    void idleAgentRunsAloneAndSendsNothing();
    void badNumberEndsWithUsageError();
    void unwritableLogNeverAbortsTheAgent();
    void serverDownUntilTheLastAttemptThenRecovers();
    void refusedRenameIsRetriedAfterTheNextSuccess();
    void sigtermDuringAStalledUploadEndsInOrder();
};

void TestUnattendedAgent::catchesUpThenServesRequests()
{
    test::FtpServer server;
    Chain chain(2, server.port(), Today.addDays(-4));
    QVERIFY(server.started() && chain.created);
    test::WriteFile(server.root() + "/K1_braki.kvr",
                    DayText(Today.addDays(-6)).toLatin1() + "\r\n");
    test::WriteFile(server.root() + "/K2_braki.kvr", DayText(Today.addDays(-7)).toLatin1() +
                                                         " drugi\r\n" + DayText(Today).toLatin1() +
                                                         "\r\n");
    AgentProcess agent(chain.home.path(), chain.agentArguments());
    // K2's shop comes first in the list; K1's one-line file goes without a log line.
    QTRY_VERIFY_WITH_TIMEOUT(chain.log().contains(u"usunięto plik K2_braki.kvr") &&
                                 DataFiles(server.root()).size() == 10 &&
                                 !QFile::exists(chain.exchange + "/K1_braki.kvr"),
                             110000);
    QTest::qWait(1500); // idle ticks: today's request waits
    QVERIFY(agent.stop());

    const QList<QDate> caughtUp{Today.addDays(-3), Today.addDays(-2), Today.addDays(-1)};
    QCOMPARE(DataFiles(server.root()),
             Expected({"K1", "K2"}, caughtUp + QList{Today.addDays(-7), Today.addDays(-6)}));
    QCOMPARE(QDir(server.root()).entryList(QDir::Files | QDir::NoDotAndDotDot).size(), 10);
    QCOMPARE(chain.lastExportedDay(), Today.addDays(-1));
    // One day per tick, oldest first; requests only once nothing else was due.
    const QString log = chain.log();
    QList<qsizetype> starts;
    for (const QDate& day : caughtUp + QList{Today.addDays(-7), Today.addDays(-6)})
        starts << log.indexOf(QStringLiteral("za dzień ") +
                              day.toString(QStringLiteral("dd.MM.yyyy")));
    QVERIFY(std::is_sorted(starts.begin(), starts.end()) && starts.front() >= 0);
    QVERIFY(log.contains(QStringLiteral("Rozpoczęto generowanie eksportu za ") +
                         DayText(Today.addDays(-7)) +
                         QStringLiteral(" drugi na podstawie pliku braków")));
    QVERIFY(!QFile::exists(chain.exchange + "/K1_braki.kvr"));
    QCOMPARE(test::ReadFile(chain.exchange + "/K2_braki.kvr"), DayText(Today).toLatin1() + "\r\n");
}

void TestUnattendedAgent::idleAgentRunsAloneAndSendsNothing()
{
    test::FtpServer server;
    Chain chain(1, server.port(), Today.addDays(-1));
    QVERIFY(server.started() && chain.created);
    QTemporaryDir runtime;
    AgentProcess agent(chain.home.path(), chain.agentArguments(), runtime.path());
    QTRY_VERIFY_WITH_TIMEOUT(chain.log().count(u"Rozłączono się z bazą") >= 1, 20000);
    // A second agent for the same user is refused and leaves the first alone.
    AgentProcess second(chain.home.path(), chain.agentArguments(), runtime.path());
    QVERIFY(second.process.waitForFinished(10000));
    QCOMPARE(second.process.exitCode(), 0);
    QVERIFY(QString::fromLocal8Bit(second.process.readAllStandardError())
                .contains(u"Aplikacja jest już uruchomiona"));
    QTest::qWait(2000);
    QCOMPARE(agent.process.state(), QProcess::Running);
    QVERIFY(agent.stop());
    // Log lines reach stdout too, for the service journal.
    QVERIFY(QString::fromLocal8Bit(agent.process.readAllStandardOutput())
                .contains(u"|Uruchomiono program"));
    QCOMPARE(server.allCommands(), QStringList());
    QVERIFY(QDir(chain.exchange).entryList(QDir::Files).isEmpty());
}

void TestUnattendedAgent::badNumberEndsWithUsageError()
{
    QTemporaryDir home;
    AgentProcess agent(home.path(), {"BAZA=x.db", "IDENT=jan", "SPRAWDAJ_CO_N_H=pół"});
    QVERIFY(agent.process.waitForFinished(15000));
    QCOMPARE(agent.process.exitCode(), 2);
    const QString errors = QString::fromLocal8Bit(agent.process.readAllStandardError());
    QVERIFY2(errors.contains(u"SPRAWDAJ_CO_N_H=pół: 'pół' nie jest poprawną liczbą"),
             qPrintable(errors));
    QVERIFY(!test::ReadAgentLog(home.path()).contains(u"Uruchomiono program"));
}

void TestUnattendedAgent::unwritableLogNeverAbortsTheAgent()
{
    // Once the agent runs, its log file becomes a folder: every line fails, in the scheduler's
    // ticks and their error paths (no server: uploads fail). Each failure is reported; none
    // ends the process.
    Chain chain(1, test::FreePort(), Today.addDays(-3));
    QVERIFY(chain.created);
    QStringList arguments = chain.agentArguments();
    arguments.replaceInStrings(QStringLiteral("PO_N_S=0"), QStringLiteral("PO_N_S=2"));
    AgentProcess agent(chain.home.path(), arguments);
    const QString log = chain.home.filePath(QStringLiteral("Tarvexio.log"));
    QTRY_VERIFY_WITH_TIMEOUT(chain.log().contains(u"Uruchomiono program"), 10000);
    QVERIFY(QFile::remove(log) && QDir().mkdir(log));
    QTest::qWait(5000);
    QCOMPARE(agent.process.state(), QProcess::Running);
    QVERIFY(agent.stop());
    const QString errors = QString::fromLocal8Bit(agent.process.readAllStandardError());
    QVERIFY2(errors.contains(QStringLiteral("Nie można otworzyć pliku ") + log),
             qPrintable(errors));
}

void TestUnattendedAgent::serverDownUntilTheLastAttemptThenRecovers()
{
    const quint16 port = test::FreePort();
    Chain chain(1, port, Today.addDays(-2));
    QVERIFY(chain.created);
    AgentProcess agent(chain.home.path(), chain.agentArguments());
    QTRY_VERIFY_WITH_TIMEOUT(chain.log().contains(u"Ostatnia próba wysłania pliku PSHD_K1_"),
                             60000);
    QCOMPARE(chain.log().count(u"Wystąpiły błędy podczas wysyłania pliku"), 2); // the limit
    QCOMPARE(chain.lastExportedDay(), Today.addDays(-2));

    test::FtpServer server({"--port", QString::number(port)});
    QVERIFY(server.started());
    QTRY_COMPARE_WITH_TIMEOUT(chain.lastExportedDay(), Today.addDays(-1), 60000);
    QVERIFY(agent.stop());
    // The file that waited and the day's new export both arrived.
    QCOMPARE(DataFiles(server.root()), Expected({"K1", "K1"}, {Today.addDays(-1)}));
    QCOMPARE(DataFiles(server.root()), DataFiles(chain.exchange));
}

void TestUnattendedAgent::refusedRenameIsRetriedAfterTheNextSuccess()
{
    test::FtpServer server({"--refuse", "RNTO:1"});
    Chain chain(2, server.port(), Today.addDays(-2));
    QVERIFY(server.started() && chain.created);
    AgentProcess agent(chain.home.path(), chain.agentArguments());
    QTRY_COMPARE_WITH_TIMEOUT(chain.lastExportedDay(), Today.addDays(-1), 60000);
    QVERIFY(agent.stop());
    QCOMPARE(DataFiles(server.root()), Expected({"K1", "K2"}, {Today.addDays(-1)}));
    QCOMPARE(QDir(server.root()).entryList({QStringLiteral("*.tmp")}, QDir::Files), QStringList());
    const QString log = chain.log();
    QCOMPARE(log.count(u"Wystąpiły błędy podczas wysyłania pliku"), 1);
    QCOMPARE(log.count(u"Wysyłanie zakończono pomyślnie."), 2);
    QVERIFY(!log.contains(u"Ostatnia próba")); // no retry tick was needed
}

void TestUnattendedAgent::sigtermDuringAStalledUploadEndsInOrder()
{
    test::FtpServer server({"--stall-stor"});
    Chain chain(1, server.port(), Today.addDays(-2));
    QVERIFY(server.started() && chain.created);
    AgentProcess agent(chain.home.path(), chain.agentArguments());
    QTRY_VERIFY_WITH_TIMEOUT(server.allCommands().join(u' ').contains(u"STOR "), 30000);
    QTest::qWait(1000);
    QElapsedTimer stopping;
    stopping.start();
    QVERIFY(agent.stop(15000));
    QCOMPARE_LT(stopping.elapsed(), 5000);
    QCOMPARE(DataFiles(chain.exchange), Expected({"K1"}, {Today.addDays(-1)}));
    QCOMPARE(chain.lastExportedDay(), Today.addDays(-2));
}

QTEST_GUILESS_MAIN(TestUnattendedAgent)
#include "tst_unattended_agent.moc"
