// The scheduler's ticks one by one, on the agent's own objects, a real FTP server and time that
// passes only when the test says: what is recorded, what is retried and what is said when the
// day cannot go out.
#include "app/agent.h"
#include "config/settings_record.h"
#include "export/export_fixture.h"
#include "support/agent_doubles.h"
#include "support/ftp_server.h"
#include "support/test_database.h"

#include <QDir>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvexio;

namespace {

const QDate D = test::FixtureDay;

// The fixture chain's three shops with codes, unattended, sending to a server of the test's.
struct Cycle : test::TestAgent {
    Cycle(const QString& home, const QStringList& faults = {})
        : TestAgent(home, test::freshDatabase(QStringLiteral("sqlite"), home + "/qmx.db",
                                              test::fixtureStatements()))
        , server(faults)
        , exchange(home + QStringLiteral("/wymiana"))
    {
        QDir().mkpath(exchange);
        doubles.clock.set(QDateTime(D.addDays(2), QTime(10, 0)));
        TKonfigEksportu& record = *agent.settings().record();
        for (int shop : {1, 2, 3})
            record.setKodKvr(*record.positionOfShop(shop), QStringLiteral("K%1").arg(shop));
        SettingsControls& controls = agent.model().settings();
        controls.EdKatalogWymiany = exchange;
        controls.DataOstatniegoEksportu = D.addDays(-1);
        sendTo(server.port());
        agent.model().flags().unattended = true;
        agent.scheduler().numbers() = {1000, 30000, 900000, 2};
        tick(); // the start marker: the next tick is the first connection, then the day's
    }

    void tick() { agent.scheduler().TimerTimer(); }
    QDate lastExported() const { return agent.model().settings().DataOstatniegoEksportu; }
    int interval() const { return agent.scheduler().interval(); }
    QString log() const { return agent.model().messagePane().join(u'\n'); }
    QJsonObject health() const { return agent.status().snapshot({}); }
    QStringList onServer() const
    {
        return QDir(server.root()).entryList({QStringLiteral("*.DAT")}, QDir::Files);
    }

    test::FtpServer server;
    QString exchange;
};

} // namespace

class TestDailyCycle : public QObject {
    Q_OBJECT
private slots:
    void init() { home_ = std::make_unique<QTemporaryDir>(); }
    void dayWithoutItsFilesIsNeverRecorded();
    void waitingFileDeletedDuringAnOutageIsMadeAgain();
    void refusedLoginEndsTheAttempt();
    void fileLostOnTheServerAfterItsRename_data();
    void fileLostOnTheServerAfterItsRename();
    void storedDayAfterTodayMakesNothingDue_data();
    void storedDayAfterTodayMakesNothingDue();
    void endingAgentSendsAndSaysNothingMore();
    void refusedRequestListingIsSaid();

private:
    std::unique_ptr<QTemporaryDir> home_;
};

void TestDailyCycle::dayWithoutItsFilesIsNeverRecorded()
{
    Cycle c(home_->path());
    QVERIFY(c.server.started());
    c.tick();
    QCOMPARE(c.lastExported(), D);
    QCOMPARE(c.onServer().size(), 3);

    // The exchange directory goes after a day that went out: the next day has no file at all.
    QVERIFY(QDir(c.exchange).removeRecursively());
    c.tick();
    QCOMPARE(c.lastExported(), D);
    QCOMPARE(c.interval(), 900000); // retried at the retry period
    QCOMPARE(c.health()[QStringLiteral("health")].toString(), "WARNING");
    QVERIFY(c.log().contains(QStringLiteral("Nie znaleziono katalogu ") + c.exchange));
    QVERIFY(c.agent.model().trayBlinking());
    QVERIFY(c.doubles.dialogs.boxes.isEmpty()); // nobody is there to answer one
    c.tick(); // the retry that reaches the limit names the day and why
    QVERIFY2(c.log().contains(QStringLiteral("Ostatnia próba eksportu za dzień 11.03.2026 nie "
                                             "powiodła się: Nie znaleziono katalogu ") +
                              c.exchange),
             qPrintable(c.log()));
    QCOMPARE(c.lastExported(), D);
    QCOMPARE(c.health()[QStringLiteral("summary")].toString(),
             "CRITICAL - 11.03.2026 not delivered");

    // Back again: the next ordinary tick exports the day, and only now is it recorded.
    QVERIFY(QDir().mkpath(c.exchange));
    c.tick();
    QCOMPARE(c.lastExported(), D.addDays(1));
    QCOMPARE(c.onServer().size(), 6);
}

void TestDailyCycle::waitingFileDeletedDuringAnOutageIsMadeAgain()
{
    Cycle c(home_->path(), {"--refuse", "STOR"});
    QVERIFY(c.server.started());
    c.tick();
    QCOMPARE(c.agent.scheduler().failedAttempts(), 1);
    const QStringList waiting = c.agent.uploadList();
    QCOMPARE(waiting.size(), 3);
    QVERIFY(QFile::remove(waiting.front()));
    // The server is back; the file made again has a new name.
    test::FtpServer server;
    QVERIFY(server.started());
    c.sendTo(server.port());
    c.doubles.clock.set(c.doubles.clock.now().addSecs(1));
    c.tick();
    QVERIFY2(c.log().contains(QStringLiteral("Plik %1 zniknął z katalogu wymiany przed wysłaniem")
                                  .arg(waiting.front())),
             qPrintable(c.log()));
    QVERIFY(c.agent.uploadList().isEmpty());
    QCOMPARE(c.lastExported(), D);
    QCOMPARE(c.interval(), 30000);
    // Each shop's day once on the server.
    const QStringList sent = QDir(server.root()).entryList({QStringLiteral("*.DAT")}, QDir::Files);
    QCOMPARE(sent.size(), 3);
    for (const char* code : {"K1", "K2", "K3"})
        QCOMPARE(sent.filter(QStringLiteral("PSHD_%1_").arg(QLatin1String(code))).size(), 1);
}

void TestDailyCycle::refusedLoginEndsTheAttempt()
{
    Cycle c(home_->path(), {"--password", "zmienione"});
    QVERIFY(c.server.started());
    QStringList journal;
    c.agent.log().setEcho([&journal](const QString&, const QString& text, LineMeaning meaning) {
        journal << QString::fromUtf8(journalLine(text, meaning));
    });
    c.tick();
    c.tick(); // the retry, and the last attempt
    // One login per attempt, not one per waiting file.
    QCOMPARE(c.server.commands().filter(QStringLiteral("USER")).size(), 2);
    QCOMPARE(c.log().count(u"Serwer FTP odmówił logowania"), 2);
    const QStringList last = c.agent.model().messagePane().filter(u"Ostatnia próba wysłania pliku");
    QCOMPARE(last.size(), 1);
    const QStringList waiting = c.agent.uploadList();
    QCOMPARE(waiting.size(), 3);
    for (const QString& file : waiting)
        QVERIFY2(last.front().contains(QFileInfo(file).fileName()), qPrintable(last.front()));
    // The journal by meaning: the files made are information though the tray blinks; each
    // attempt's failure is its two described lines, and the last attempt one more.
    QCOMPARE(journal.filter(QRegularExpression(QStringLiteral("^<6>Wygenerowano plik"))).size(), 3);
    QVERIFY2(journal.filter(QRegularExpression(QStringLiteral("^<3>"))).size() == 5,
             qPrintable(journal.join(u'\n')));
}

void TestDailyCycle::fileLostOnTheServerAfterItsRename_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("cause");
    QTest::newRow("cut to half") << "--cut-after-rnto"
                                 << "B zamiast";
    QTest::newRow("gone") << "--lose-after-rnto"
                          << "nie ma go na serwerze";
}

void TestDailyCycle::fileLostOnTheServerAfterItsRename()
{
    QFETCH(QString, fault);
    QFETCH(QString, cause);
    Cycle c(home_->path(), {fault});
    QVERIFY(c.server.started());
    c.tick();
    // The rename was answered, but the delivery failed, and the file went again whole.
    QVERIFY2(c.log().contains(cause), qPrintable(c.log()));
    QCOMPARE(c.agent.scheduler().failedAttempts(), 0);
    QCOMPARE(c.lastExported(), D);
    const QStringList sent = c.onServer();
    QCOMPARE(sent.size(), 3);
    for (const QString& name : sent)
        QCOMPARE(QFileInfo(c.server.root() + u'/' + name).size(),
                 QFileInfo(c.exchange + u'/' + name).size());
}

void TestDailyCycle::storedDayAfterTodayMakesNothingDue_data()
{
    QTest::addColumn<int>("ahead");
    QTest::newRow("200 days") << 200;
    QTest::newRow("400 days") << 400;
}

void TestDailyCycle::storedDayAfterTodayMakesNothingDue()
{
    QFETCH(int, ahead);
    Cycle c(home_->path());
    const QDate today = c.doubles.clock.now().date();
    c.agent.model().settings().DataOstatniegoEksportu = today.addDays(ahead);
    for (int tick = 0; tick < 3; ++tick)
        c.tick();
    QCOMPARE(c.lastExported(), today.addDays(ahead));
    QCOMPARE(QDir(c.exchange).entryList({QStringLiteral("PSHD_*")}), QStringList());
    QCOMPARE(c.log().count(u"sprawdź zegar komputera"), 1); // once a day
    QCOMPARE(c.health()[QStringLiteral("summary")].toString(),
             QStringLiteral("CRITICAL - the stored last exported day %1 is after today: check the "
                            "clock")
                 .arg(c.lastExported().toString(Qt::ISODate)));
}

void TestDailyCycle::endingAgentSendsAndSaysNothingMore()
{
    Cycle c(home_->path(), {"--refuse", "STOR"});
    QVERIFY(c.server.started());
    c.tick();
    QCOMPARE(c.agent.scheduler().failedAttempts(), 1);
    const qsizetype stores = c.server.commands().filter(QStringLiteral("STOR")).size();
    c.agent.window().terminate(
        QStringLiteral("test")); // "Zakończ", or SIGTERM, before the last attempt
    c.tick();
    QCOMPARE(c.server.commands().filter(QStringLiteral("STOR")).size(), stores);
    QVERIFY(!c.log().contains(u"Ostatnia próba"));
    QVERIFY(!c.agent.model().windowVisible());
    QCOMPARE(c.lastExported(), D.addDays(-1));
}

void TestDailyCycle::refusedRequestListingIsSaid()
{
    Cycle c(home_->path(), {"--refuse", "NLST"});
    QVERIFY(c.server.started());
    c.tick();
    QCOMPARE(c.lastExported(), D); // the day's files went all the same
    // Each file's job lists before its upload, then for requests, and once more for them.
    QCOMPARE(c.server.commands().filter(QStringLiteral("NLST")).size(), 9);
    const QString said = QStringLiteral("Nie udało się sprawdzić plików z brakami na serwerze: "
                                        "FTP NLST: 550 Refused by the test.");
    QCOMPARE(c.log().count(said), 3);
    // The third time in a row it alerts; a listing that goes again ends the run.
    QCOMPARE(c.agent.log().recentAlerts().filter(said).size(), 1);
    QVERIFY(!c.agent.upload().requestsLastLooked().isValid());
}

QTEST_GUILESS_MAIN(TestDailyCycle)
#include "tst_daily_cycle.moc"
