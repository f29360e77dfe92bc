// The real agent killed at each step of a day's delivery and started again: what it made and
// did not deliver goes, and nothing goes twice.
#include "agent_chain.h"
#include "support/ftp_server.h"

#include <QRegularExpression>
#include <QTest>

using namespace tarvexio;
using namespace tarvexio::test;

class TestDeliveryLedger : public QObject {
    Q_OBJECT
private slots:
    void killedAtAnyStepEachShopsDayGoesOnce_data();
    void killedAtAnyStepEachShopsDayGoesOnce();
};

void TestDeliveryLedger::killedAtAnyStepEachShopsDayGoesOnce_data()
{
    // The command the server stalls on while the agent is killed; none: killed once the day
    // is recorded.
    QTest::addColumn<QString>("stalledAt");
    // Uploads in all: a file cut short by the kill goes again under its own name.
    QTest::addColumn<int>("uploads");
    QTest::newRow("before the upload") << "NLST" << 2;
    QTest::newRow("after STOR") << "RNFR" << 3;
    QTest::newRow("after RNTO") << "SIZE" << 3;
    QTest::newRow("after the day is recorded") << QString() << 2;
}

void TestDeliveryLedger::killedAtAnyStepEachShopsDayGoesOnce()
{
    QFETCH(QString, stalledAt);
    QFETCH(int, uploads);
    FtpServer server(stalledAt.isEmpty() ? QStringList() : QStringList{"--stall", stalledAt});
    Chain chain(2, server.port(), Today.addDays(-2));
    QVERIFY(server.started() && chain.created);
    {
        AgentProcess first(chain.home.path(), chain.agentArguments());
        if (stalledAt.isEmpty())
            QTRY_COMPARE_WITH_TIMEOUT(chain.lastExportedDay(), Today.addDays(-1), 30000);
        else
            QTRY_VERIFY_WITH_TIMEOUT(server.commands().join(u'\n').contains(stalledAt), 30000);
        first.process.kill();
        QVERIFY(first.process.waitForFinished(5000));
    }
    const qsizetype starts = chain.log().count(u"Połączono się z bazą");
    AgentProcess second(chain.home.path(), chain.agentArguments());
    QTRY_VERIFY_WITH_TIMEOUT(chain.log().count(u"Połączono się z bazą") > starts, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(chain.lastExportedDay(), Today.addDays(-1), 30000);
    QTest::qWait(1000); // a few more checks, which must find nothing to make
    QVERIFY(second.stop());
    QCOMPARE(dataFiles(server.root()), expected({"K1", "K2"}, {Today.addDays(-1)}));
    QCOMPARE(server.commands().filter(QRegularExpression(QStringLiteral("^STOR "))).size(),
             uploads);
    QCOMPARE(QDir(server.root()).entryList({QStringLiteral("*.tmp")}, QDir::Files), QStringList());
    // Made once each: the restart sent what waited.
    QCOMPARE(chain.log().count(u"Wygenerowano plik raportu ze sklepu"), 2);
    QCOMPARE(dataFiles(chain.exchange), expected({"K1", "K2"}, {Today.addDays(-1)}));
}

QTEST_GUILESS_MAIN(TestDeliveryLedger)
#include "tst_delivery_ledger.moc"
