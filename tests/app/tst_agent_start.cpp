#include "app/agent.h"
#include "support/agent_doubles.h"
#include "support/agent_process.h"
#include "support/test_database.h"

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace tarvexio;

namespace {

// One agent with its doubles, a program folder for its log, and a SQLite database.
struct Harness {
    explicit Harness(const QStringList& arguments)
        : t(home.path(), QString(), arguments)
        , terminations(&agent.window(), &WindowAndTray::terminateRequested)
    {}

    QString logText() const { return test::readAgentLog(home.path()); }
    bool paneHas(const QString& text) const
    {
        return std::ranges::any_of(agent.model().messagePane(), [&](const QString& line) {
            return line.section(u'|', 2) == text;
        });
    }

    QTemporaryDir home;
    test::TestAgent t;
    Agent& agent = t.agent;
    test::RecordingDialogs& dialogs = t.doubles.dialogs;
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
    void argumentsThatEndStart_data();
    void argumentsThatEndStart();
    void saveBeforeTheFirstConnection();

private:
    QTemporaryDir data_;
    QString database_;
};

void TestAgentStart::initTestCase()
{
    database_ = test::freshDatabase(QStringLiteral("sqlite"), data_.filePath("qmx.db"),
                                    {"insert into Sklep values (1, 'Sklep Łódź')"});
}

void TestAgentStart::cleanup()
{
    qunsetenv("TARVEXIO_BAZA");
}

void TestAgentStart::unattendedStartAndFirstConnection()
{
    Harness h({"BAZA=" + database_, "IDENT=jan", "PIERWSZE_POLACZENIE_PO_N_S=5"});
    h.agent.window().showWindow();
    QVERIFY(!h.agent.session().hasSession()); // the unattended way connects later
    h.agent.startUp().StartTimerTimer();

    const WindowModel& model = h.agent.model();
    QVERIFY(model.flags().tray && model.flags().unattended);
    QVERIFY(!model.windowVisible() && model.trayIconShown());
    QVERIFY(!model.trayCommandEnabled(TrayCommand::Przywroc));
    QVERIFY(h.logText().endsWith(u"|Uruchomiono program\r\n"));

    const Scheduler& scheduler = h.agent.scheduler();
    QCOMPARE(scheduler.interval(), 100);
    h.agent.scheduler().TimerTimer(); // start marker
    QCOMPARE(scheduler.interval(), 5000);
    QVERIFY(!h.paneHas("Połączono się z bazą " + database_));

    h.agent.scheduler().TimerTimer(); // first connection
    QVERIFY(h.paneHas("Rozłączono się z bazą " + database_));
    QVERIFY(!h.agent.session().hasSession());
    QCOMPARE(scheduler.interval(), 30000);
    QVERIFY(scheduler.isRunning());
    QVERIFY(model.trayCommandEnabled(TrayCommand::Przywroc));
    QVERIFY(h.agent.session().configurationLoaded());
    QVERIFY(h.dialogs.boxes.isEmpty() && h.dialogs.exceptions.isEmpty());
}

void TestAgentStart::firstConnectionRefusedEndsUnattendedProgram()
{
    const QString missing = data_.filePath(QStringLiteral("brak.db"));
    Harness h({"BAZA=" + missing, "IDENT=jan"});
    h.agent.startUp().StartTimerTimer();
    h.agent.scheduler().TimerTimer();
    h.agent.scheduler().TimerTimer();
    QCOMPARE(h.terminations.count(), 1);
    QVERIFY(!h.agent.scheduler().isRunning()); // the ending tick does not restart it
    QVERIFY(h.logText().contains("Nie udało się połączyć z bazą " + missing));
    QVERIFY(!QFile::exists(missing)); // never created as an empty database
}

void TestAgentStart::argumentsThatEndStart_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("box"); // none: the start goes on
    QTest::addColumn<QString>("caption");
    const auto row = [](const char* tag, const char* arguments, const char* box,
                        const char* caption) {
        QTest::newRow(tag) << QString::fromUtf8(arguments).split(u' ') << QString::fromUtf8(box)
                           << caption;
    };
    const char* const usage = "Składnia: Tarvexio Baza=NazwaBazy Ident=NazwaUzytkownika";
    row("/? with another argument", "/? IDENT=x", usage, "Informacja");
    row("/? alone is the interactive way", "/?", "", "");
    row("no database", "IDENT=x MAX_LICZBA_PROBFTP=3", "Nie podano nazwy bazy", "Tarvexio");
    row("no user", "BAZA=x y", "Nie podano nazwy użytkownika", "Tarvexio");
    row("test mode lets a missing user pass", "TEST BAZA=x", "", "");
}

void TestAgentStart::argumentsThatEndStart()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, box);
    qputenv("TARVEXIO_BAZA", database_.toUtf8());
    Harness h(arguments);
    h.agent.window().showWindow();
    h.agent.startUp().StartTimerTimer();
    QCOMPARE(h.terminations.count(), box.isEmpty() ? 0 : 1);
    if (box.isEmpty()) {
        QVERIFY(h.dialogs.boxes.isEmpty());
        // One argument is the interactive way; TEST is unattended but lets the user go.
        QCOMPARE(h.agent.model().flags().unattended, arguments.size() > 1);
        QCOMPARE(h.agent.model().flags().test, arguments.size() > 1);
        return;
    }
    QCOMPARE(h.dialogs.boxes.size(), 1);
    QCOMPARE(h.dialogs.boxes.front().text, box);
    QTEST(h.dialogs.boxes.front().caption, "caption");
    QVERIFY(!h.agent.scheduler().isRunning());
    if (!box.startsWith(u"Składnia"))
        QVERIFY(h.logText().contains(
            QRegularExpression("\\|" + QRegularExpression::escape(box) +
                               "\\.\r\n[^\n]*Koniec pracy programu: [^\n]*\r\n$")));
}

void TestAgentStart::saveBeforeTheFirstConnection()
{
    // "Zap. Konfig." before the scheduler's first connection opens a session, which builds and
    // loads the record, saves it and closes the session again.
    Harness h({"BAZA=" + database_, "IDENT=jan"});
    h.agent.startUp().StartTimerTimer();
    QVERIFY(!h.agent.settings().record());
    h.agent.settings().saveConfiguration();
    QVERIFY(h.dialogs.exceptions.isEmpty());
    QVERIFY(!h.agent.session().hasSession());
    QCOMPARE(test::konfigRows(database_).filter(QStringLiteral("ParEksportDir=")).size(), 1);
}

QTEST_GUILESS_MAIN(TestAgentStart)
#include "tst_agent_start.moc"
