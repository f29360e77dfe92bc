// The real agent catching up missed days, then serving the requests for missing days that the
// server left, against an FTP server on 127.0.0.1.
#include "agent_chain.h"
#include "support/ftp_server.h"

#include <QTest>

using namespace tarvexio;
using namespace tarvexio::test;

class TestAgentCatchUp : public QObject {
    Q_OBJECT
private slots:
    void catchesUpThenServesRequests();
};

void TestAgentCatchUp::catchesUpThenServesRequests()
{
    // Ten jobs with the agent's own pauses take more than a minute: the server outlives them.
    test::FtpServer server({"--max-seconds", "240"});
    Chain chain(2, server.port(), Today.addDays(-3));
    QVERIFY(server.started() && chain.created);
    test::writeFile(server.root() + "/K1_braki.kvr",
                    dayText(Today.addDays(-6)).toLatin1() + "\r\n");
    test::writeFile(server.root() + "/K2_braki.kvr", dayText(Today.addDays(-7)).toLatin1() +
                                                         " drugi\r\n" + dayText(Today).toLatin1() +
                                                         "\r\n");
    // A day fetched before and still waiting: the server's new copy must not replace it.
    test::writeFile(chain.exchange + "/K2_braki.kvr",
                    dayText(Today.addDays(-8)).toLatin1() + "\r\n");
    // A request that cannot be saved here stays on the server and fails no job.
    test::writeFile(server.root() + "/K9_braki.kvr", "20200101\r\n");
    QVERIFY(QDir(chain.exchange).mkdir(QStringLiteral("K9_braki.kvr")));
    AgentProcess agent(chain.home.path(), chain.agentArguments());
    // K2's shop comes first in the list; K1's one-line file goes without a log line.
    QTRY_VERIFY_WITH_TIMEOUT(dataFiles(server.root()).size() == 10 &&
                                 !QFile::exists(chain.exchange + "/K1_braki.kvr"),
                             150000);
    QTest::qWait(1500); // idle ticks: today's request waits
    QVERIFY(agent.stop());

    const QList<QDate> caughtUp{Today.addDays(-2), Today.addDays(-1)};
    const QList<QDate> requested{Today.addDays(-8), Today.addDays(-7), Today.addDays(-6)};
    QCOMPARE(dataFiles(server.root()), expected({"K1", "K2"}, caughtUp + requested));
    QCOMPARE(QDir(server.root()).entryList(QDir::Files).size(), 11); // and K9's request
    QCOMPARE(chain.lastExportedDay(), Today.addDays(-1));
    // One day per tick, oldest first; requests only once nothing else was due.
    const QString log = chain.log();
    QVERIFY(log.contains(u"usunięto plik K2_braki.kvr"));
    QVERIFY(log.contains(u"Pliki z brakami pozostawiono na serwerze: K9_braki.kvr ("));
    QList<qsizetype> starts;
    for (const QDate& day : caughtUp + requested)
        starts << log.indexOf(QStringLiteral("za dzień ") +
                              day.toString(QStringLiteral("dd.MM.yyyy")));
    QVERIFY(std::is_sorted(starts.begin(), starts.end()) && starts.front() >= 0);
    QVERIFY(log.contains(QStringLiteral("Rozpoczęto generowanie eksportu za ") +
                         dayText(Today.addDays(-7)) +
                         QStringLiteral(" drugi na podstawie pliku braków")));
    QVERIFY(!QFile::exists(chain.exchange + "/K1_braki.kvr"));
    QCOMPARE(test::readFile(chain.exchange + "/K2_braki.kvr"), dayText(Today).toLatin1() + "\r\n");
}

QTEST_GUILESS_MAIN(TestAgentCatchUp)
#include "tst_agent_catch_up.moc"
