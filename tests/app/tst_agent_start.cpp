#include "app/agent.h"
#include "db/query.h"
#include "db/session.h"
#include "support/agent_doubles.h"
#include "support/test_database.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvexio;

namespace {

// One agent with its doubles, a program folder for its log, and a SQLite database.
struct Harness {
    explicit Harness(const QStringList& arguments)
        : agent(arguments, doubles.ports(),
                {home.path(), home.filePath(QStringLiteral("tarvexio"))}, QStringLiteral("1.0.0.0"))
        , terminations(&agent, &Agent::terminateRequested)
    {}

    QString logText() const
    {
        QFile file(home.filePath(QStringLiteral("Tarvexio.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    bool paneHas(const QString& text) const
    {
        for (const QString& line : agent.model().messagePane()) {
            if (line.section(u'|', 2) == text)
                return true;
        }
        return false;
    }

    QTemporaryDir home;
    test::AgentDoubles doubles;
    test::RecordingDialogs& dialogs = doubles.dialogs;
    test::SettablePrivileges& privileges = doubles.privileges;
    Agent agent;
    QSignalSpy terminations;
};

} // namespace

class TestAgentStart : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void unattendedStartAndFirstConnection();
    void firstConnectionRefusedEndsUnattendedProgram();
    void usageBoxNeedsTwoArguments_data();
    void usageBoxNeedsTwoArguments();
    void missingNamesEndStart_data();
    void missingNamesEndStart();
    void nonNumberStopsStart();
    void interactiveStartWithDefaultConnection();
    void interactiveStartRefusedEndsProgram();
    void singleTestArgumentShowsTestButton();
    void zakonczAsksFirst();
    void saveBeforeTheFirstConnection();

private:
    QTemporaryDir data_;
    QString database_;
};

void TestAgentStart::initTestCase()
{
    database_ = data_.filePath(QStringLiteral("qmx.db"));
    test::CreateSqliteDatabase(database_, {{1, QStringLiteral("Sklep Łódź")}});
}

void TestAgentStart::cleanup()
{
    qunsetenv("TARVEXIO_BAZA");
    qunsetenv("TARVEXIO_IDENT");
}

void TestAgentStart::unattendedStartAndFirstConnection()
{
    Harness h({"BAZA=" + database_, "IDENT=jan", "PIERWSZE_POLACZENIE_PO_N_S=5"});
    h.agent.ShowWindow();
    QVERIFY(!h.agent.session().hasSession()); // the unattended way connects later
    h.agent.StartTimerTimer();

    const WindowModel& model = h.agent.model();
    QVERIFY(model.flags().tray && model.flags().unattended);
    QVERIFY(!model.windowVisible());
    QVERIFY(model.trayIconShown());
    QCOMPARE(model.caption(), "Tarvexio SFTP (" + database_ + ")");
    QVERIFY(!model.trayCommandEnabled(TrayCommand::Przywroc));
    QVERIFY(model.trayCommandEnabled(TrayCommand::Zakoncz));
    QVERIFY(h.logText().endsWith(u"|Uruchomiono program\r\n"));

    QTimer& timer = h.agent.scheduler().timer();
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), 100);

    h.agent.scheduler().TimerTimer(); // start marker
    QCOMPARE(timer.interval(), 5000);
    QVERIFY(timer.isActive());
    QVERIFY(!h.paneHas("Połączono się z bazą " + database_));

    h.agent.scheduler().TimerTimer(); // first connection
    QVERIFY(h.paneHas("Połączono się z bazą " + database_));
    QVERIFY(h.paneHas("Rozłączono się z bazą " + database_));
    QVERIFY(!h.agent.session().hasSession());
    QCOMPARE(timer.interval(), 30000);
    QVERIFY(timer.isActive());
    QVERIFY(model.trayCommandEnabled(TrayCommand::Przywroc));
    QVERIFY(model.trayCommandEnabled(TrayCommand::Zakoncz));
    QVERIFY(model.flags().configurationLoaded);
    QCOMPARE(h.terminations.count(), 0);
    QVERIFY(h.dialogs.boxes.isEmpty() && h.dialogs.exceptions.isEmpty());
}

void TestAgentStart::firstConnectionRefusedEndsUnattendedProgram()
{
    const QString missing = data_.filePath(QStringLiteral("brak.db"));
    Harness h({"BAZA=" + missing, "IDENT=jan"});
    h.agent.StartTimerTimer();
    h.agent.scheduler().TimerTimer();
    h.agent.scheduler().TimerTimer();
    QCOMPARE(h.terminations.count(), 1);
    QVERIFY(!h.agent.scheduler().timer().isActive()); // the ending tick does not restart it
    QVERIFY(h.logText().contains("Nie udało się połączyć z bazą " + missing));
    QVERIFY(!QFile::exists(missing)); // never created as an empty database
}

void TestAgentStart::usageBoxNeedsTwoArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("usageShown");
    QTest::newRow("/? with another argument") << QStringList{"/?", "IDENT=x"} << true;
    QTest::newRow("? with blanks") << QStringList{" ? ", "x"} << true;
    QTest::newRow("/? alone is the interactive way") << QStringList{"/?"} << false;
}

void TestAgentStart::usageBoxNeedsTwoArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, usageShown);
    qputenv("TARVEXIO_BAZA", database_.toUtf8());
    Harness h(arguments);
    h.agent.ShowWindow();
    h.agent.StartTimerTimer();
    if (usageShown) {
        QCOMPARE(h.dialogs.boxes.size(), 1);
        QCOMPARE(h.dialogs.boxes.front().text,
                 "Składnia: Tarvexio Baza=NazwaBazy Ident=NazwaUzytkownika");
        QCOMPARE(h.dialogs.boxes.front().caption, "Informacja");
        QCOMPARE(h.terminations.count(), 1);
    } else {
        QVERIFY(h.dialogs.boxes.isEmpty());
        QCOMPARE(h.terminations.count(), 0);
        QVERIFY(!h.agent.model().flags().unattended);
        QVERIFY(h.agent.model().windowVisible());
    }
}

void TestAgentStart::missingNamesEndStart_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("logLine");
    QTest::newRow("no database") << QStringList{"IDENT=x", "MAX_LICZBA_PROBFTP=3"}
                                 << "Nie podano nazwy bazy"
                                 << "Nie podano nazwy bazy.";
    QTest::newRow("no user") << QStringList{"BAZA=x", "y"} << "Nie podano nazwy użytkownika"
                             << "Nie podano nazwy użytkownika.";
    QTest::newRow("test mode lets it pass") << QStringList{"TEST", "BAZA=x"} << ""
                                            << "";
}

void TestAgentStart::missingNamesEndStart()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, box);
    QFETCH(QString, logLine);
    Harness h(arguments);
    h.agent.StartTimerTimer();
    QVERIFY(!h.agent.scheduler().timer().isActive());
    if (box.isEmpty()) {
        QVERIFY(h.dialogs.boxes.isEmpty());
        QCOMPARE(h.terminations.count(), 0);
        QVERIFY(h.agent.model().flags().test);
        return;
    }
    QCOMPARE(h.dialogs.boxes.size(), 1);
    QCOMPARE(h.dialogs.boxes.front().text, box);
    QCOMPARE(h.dialogs.boxes.front().caption, "Tarvexio");
    QVERIFY(h.logText().endsWith("|" + logLine + "\r\n"));
    QCOMPARE(h.terminations.count(), 1);
    QVERIFY(h.agent.model().flags().closing);
}

void TestAgentStart::nonNumberStopsStart()
{
    Harness h({"BAZA=x", "IDENT=y", "SPRAWDAJ_CO_N_H=dwie"});
    QVERIFY_THROWS_EXCEPTION(EConvertError, h.agent.StartTimerTimer());
    QVERIFY(!h.agent.scheduler().timer().isActive());
    QVERIFY(!h.agent.model().trayIconShown());
    QCOMPARE(h.terminations.count(), 0);
}

void TestAgentStart::interactiveStartWithDefaultConnection()
{
    qputenv("TARVEXIO_BAZA", database_.toUtf8());
    qputenv("TARVEXIO_IDENT", "kierownik");
    Harness h({});
    h.agent.ShowWindow();
    const WindowModel& model = h.agent.model();
    QVERIFY(h.agent.session().isConnected());
    QCOMPARE(h.agent.session().userIdent(), "kierownik");
    QCOMPARE(model.caption(), "Tarvexio SFTP (" + database_ + ")");
    QVERIFY(model.windowVisible() && model.trayIconShown());
    QVERIFY(!model.flags().closing);
    QVERIFY(h.paneHas("Połączono się z bazą " + database_));

    h.agent.StartTimerTimer();
    QVERIFY(!model.flags().tray && !model.flags().unattended);
    QVERIFY(!h.agent.scheduler().timer().isActive());

    // Closing the window hides it in the tray and hands the work to the scheduler.
    QVERIFY(!h.agent.FormCloseQuery());
    QVERIFY(!model.windowVisible());
    QVERIFY(model.flags().tray && model.flags().unattended);
    QVERIFY(!h.agent.session().hasSession());
    QVERIFY(h.paneHas("Rozłączono się z bazą " + database_));
    QVERIFY(h.agent.scheduler().timer().isActive());
    QVERIFY(model.trayCommandEnabled(TrayCommand::Przywroc));
    QCOMPARE(h.terminations.count(), 0);
}

void TestAgentStart::interactiveStartRefusedEndsProgram()
{
    qputenv("TARVEXIO_BAZA", data_.path().toUtf8()); // a directory, not a database
    Harness h({});
    h.agent.ShowWindow();
    QCOMPARE(h.terminations.count(), 1);
    QVERIFY(!h.agent.model().windowVisible());
    QVERIFY(!h.agent.model().trayIconShown());
    QVERIFY(h.paneHas("Nie udało się połączyć z bazą " + data_.path() +
                      ": nazwa bazy wskazuje katalog, nie plik: " + data_.path()));
}

void TestAgentStart::singleTestArgumentShowsTestButton()
{
    qputenv("TARVEXIO_BAZA", database_.toUtf8());
    Harness h({" Testuj"});
    h.privileges.admin = false;
    h.agent.ShowWindow();
    QVERIFY(h.agent.model().flags().test);
    QVERIFY(h.agent.model().testButtonVisible());
    QVERIFY(!h.agent.model().autoStartBoxEnabled());
}

void TestAgentStart::zakonczAsksFirst()
{
    Harness h({"BAZA=" + database_, "IDENT=jan"});
    h.agent.StartTimerTimer();
    h.dialogs.answer = MessageAnswer::No;
    h.agent.ZakocznczClick();
    QCOMPARE(h.dialogs.boxes.back().text, "Czy rzeczywiście zamknąć program?");
    QCOMPARE(h.dialogs.boxes.back().defaultAnswer, MessageAnswer::No);
    QCOMPARE(h.terminations.count(), 0);
    QVERIFY(h.agent.scheduler().timer().isActive());

    h.dialogs.answer = MessageAnswer::Yes;
    h.agent.ZakocznczClick();
    QCOMPARE(h.terminations.count(), 1);
}

void TestAgentStart::saveBeforeTheFirstConnection()
{
    // "Zap. Konfig." before the scheduler's first connection opens a session, which builds and
    // loads the record, saves it and closes the session again.
    Harness h({"BAZA=" + database_, "IDENT=jan"});
    h.agent.StartTimerTimer();
    QVERIFY(!h.agent.konfig());
    h.agent.SaveConfiguration();
    QVERIFY(h.dialogs.exceptions.isEmpty());
    QVERIFY(h.agent.konfig());
    QVERIFY(!h.agent.session().hasSession());
    auto session = test::Connect(database_);
    TKMQuery rows;
    session->PowiazQuery(rows);
    rows.SetSQL(QStringLiteral("select ParNazwa from Konfig where ParNazwa = 'ParEksportDir'"));
    rows.Open();
    QCOMPARE(rows.GetCount(), 1);
}

QTEST_GUILESS_MAIN(TestAgentStart)
#include "tst_agent_start.moc"
