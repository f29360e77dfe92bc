// The real agent binary, headless, as a service would run it.
#include "config/konfig_eksportu.h"
#include "db/session.h"
#include "support/agent_process.h"
#include "support/test_database.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using tarvexio::test::AgentProcess;
using tarvexio::test::ReadAgentLog;

class TestHeadlessProcess : public QObject {
    Q_OBJECT
private slots:
    void init();
    void runsConnectsAndStopsOnSigterm();
    void badNumberEndsWithUsageError();
    void refusedFirstConnectionEndsProgram();
    void unwritableLogNeverAbortsTheAgent();

private:
    QTemporaryDir home_;
    QTemporaryDir runtime_;
    QString database_;
};

void TestHeadlessProcess::init()
{
    database_ = home_.filePath(QStringLiteral("qmx.db"));
    if (!QFile::exists(database_))
        tarvexio::test::CreateSqliteDatabase(database_, {{1, QStringLiteral("Sklep Łódź")}});
    QFile::remove(home_.filePath(QStringLiteral("Tarvexio.log")));
}

void TestHeadlessProcess::runsConnectsAndStopsOnSigterm()
{
    AgentProcess agent(home_.path(),
                       {"BAZA=" + database_, "IDENT=jan", "PIERWSZE_POLACZENIE_PO_N_S=1"},
                       runtime_.path());
    QVERIFY(agent.process.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(
        ReadAgentLog(home_.path()).contains("Rozłączono się z bazą " + database_), 20000);
    const QString log = ReadAgentLog(home_.path());
    QVERIFY(log.contains(u"|Uruchomiono program\r\n"));
    QVERIFY(log.indexOf(u"Uruchomiono program") < log.indexOf(u"Połączono się z bazą"));

    // A second agent for the same user is refused and leaves the first alone.
    AgentProcess second(home_.path(), {"BAZA=" + database_, "IDENT=jan"}, runtime_.path());
    QVERIFY(second.process.waitForFinished(10000));
    QCOMPARE(second.process.exitCode(), 0);
    QVERIFY(QString::fromLocal8Bit(second.process.readAllStandardError())
                .contains(u"Aplikacja jest już uruchomiona"));
    QCOMPARE(agent.process.state(), QProcess::Running);

    agent.terminate();
    QVERIFY(agent.process.waitForFinished(10000));
    QCOMPARE(agent.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(agent.process.exitCode(), 0);
    // Log lines reach stdout too, for the service journal.
    QVERIFY(QString::fromLocal8Bit(agent.process.readAllStandardOutput())
                .contains(u"|Uruchomiono program"));
}

void TestHeadlessProcess::badNumberEndsWithUsageError()
{
    AgentProcess agent(home_.path(), {"BAZA=" + database_, "IDENT=jan", "SPRAWDAJ_CO_N_H=pół"});
    QVERIFY(agent.process.waitForFinished(15000));
    QCOMPARE(agent.process.exitCode(), 2);
    const QString errors = QString::fromLocal8Bit(agent.process.readAllStandardError());
    QVERIFY2(errors.contains(u"SPRAWDAJ_CO_N_H=pół: 'pół' nie jest poprawną liczbą"),
             qPrintable(errors));
    QVERIFY(!ReadAgentLog(home_.path()).contains(u"Uruchomiono program"));
}

void TestHeadlessProcess::refusedFirstConnectionEndsProgram()
{
    const QString missing = home_.filePath(QStringLiteral("brak.db"));
    AgentProcess agent(home_.path(),
                       {"BAZA=" + missing, "IDENT=jan", "PIERWSZE_POLACZENIE_PO_N_S=0"});
    QVERIFY(agent.process.waitForFinished(15000));
    QCOMPARE(agent.process.exitCode(), 0);
    QVERIFY(ReadAgentLog(home_.path()).contains("Nie udało się połączyć z bazą " + missing));
    QVERIFY(!QFile::exists(missing));
}

void TestHeadlessProcess::unwritableLogNeverAbortsTheAgent()
{
    // Once the agent runs, its log file becomes a folder: every line fails, in handlers of
    // every kind (the scheduler's ticks and their error paths). Each failure is reported;
    // none ends the process.
    QTemporaryDir home;
    const QString database = home.filePath(QStringLiteral("qmx.db"));
    tarvexio::test::CreateSqliteDatabase(database, {{1, QStringLiteral("Sklep Łódź")}});
    // A day is due, so the ticks go through the export's error path too.
    tarvexio::test::Connect(database)->ExecSQL(
        QStringLiteral("insert into Konfig values ('Tarvexio', 'ParDataOstEksp', '%1')")
            .arg(tarvexio::DayNumber(QDate::currentDate().addDays(-3))));
    AgentProcess agent(home.path(), {"BAZA=" + database, "IDENT=jan",
                                     "PIERWSZE_POLACZENIE_PO_N_S=2", "SPRAWDAJ_CO_N_H=0,0001"});
    const QString log = home.filePath(QStringLiteral("Tarvexio.log"));
    QTRY_VERIFY_WITH_TIMEOUT(ReadAgentLog(home.path()).contains(u"Uruchomiono program"), 10000);
    QVERIFY(QFile::remove(log) && QDir().mkdir(log));
    QTest::qWait(5000);
    QCOMPARE(agent.process.state(), QProcess::Running);
    agent.terminate();
    QVERIFY(agent.process.waitForFinished(10000));
    QCOMPARE(agent.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(agent.process.exitCode(), 0);
    const QString errors = QString::fromLocal8Bit(agent.process.readAllStandardError());
    QVERIFY2(errors.contains(QStringLiteral("Nie można otworzyć pliku ") + log),
             qPrintable(errors));
}

QTEST_GUILESS_MAIN(TestHeadlessProcess)
#include "tst_headless_process.moc"
