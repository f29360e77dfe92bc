#include "app/agent.h"
#include "app/configuration_store.h"
#include "app/settings_page.h"
#include "config/settings_record.h"
#include "db/session.h"
#include "export/export_progress.h"
#include "export/export_run.h"
#include "export/missing_data_requests.h"
#include "export/os_name.h"
#include "export_fixture.h"
#include "platform/windows1250.h"
#include "support/agent_doubles.h"
#include "support/files.h"
#include "support/ftp_server.h"
#include "support/test_database.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvexio;
using test::readFile;

Q_DECLARE_METATYPE(std::optional<QDate>)
using test::writeFile;

namespace {

const QDate D = test::FixtureDay;
const QDateTime Morning(D.addDays(1), QTime(8, 9, 10));

// The agent on the fixture chain, exporting into a folder of its own.
struct Harness : test::TestAgent {
    Harness(const QString& database, const QString& home)
        : TestAgent(home, database)
        , exchange(home + QStringLiteral("/wymiana"))
    {
        doubles.clock.set(Morning);
        doubles.clock.pausesAdvance = false;
        QDir().mkpath(exchange);
        TKonfigEksportu& record = *agent.settings().record();
        for (const auto& [shop, code] : {std::pair{1, "LDZ1"}, {2, "KRK2"}, {3, "PST3"}})
            record.setKodKvr(*record.positionOfShop(shop), QString::fromLatin1(code));
        agent.model().settings().EdKatalogWymiany = exchange;
        agent.model().settings().consent.fill(true);
    }

    DayExport exportDay(const QDate& day, const QDate& today = Morning.date())
    {
        // What the files hold, whatever was made before.
        return agent.exportRun().shopLoop(*agent.settings().record(),
                                          exportSettingsShown(agent.model()), day, today, {},
                                          ExportRun::MadeBefore::MadeAgain);
    }
    QString path(const char* code, const QDate& day = D) const
    {
        return exchange +
               QStringLiteral("/PSHD_%1_HD0001_%2_080910.DAT")
                   .arg(QLatin1StringView(code), day.toString(QStringLiteral("yyyyMMdd")));
    }

    QString exchange;
};

class RecordingProgress final : public ProgressDisplay, public ExportProgress {
public:
    void Pokaz(const std::function<void(ExportProgress*)>& work) override
    {
        ++shows;
        if (beforeRun)
            beforeRun(shows);
        work(this);
    }
    void UstawTekst1(const QString&) override {}
    void UstawTekst2(const QString&) override {}
    void UstawProgress(int percent) override { percents << percent; }

    int shows = 0;
    std::function<void(int)> beforeRun;
    QList<int> percents;
};

} // namespace

class TestExportRun : public QObject {
    Q_OBJECT
private slots:
    void init();
    void wholeFileByteForByte_data();
    void wholeFileByteForByte();
    void fileThatCannotBeCreated_data();
    void fileThatCannotBeCreated();
    void errorInTheBodyLeavesTheFileUnqueued();
    void manualRangeBackwardsOnlyUploads();
    void manualRangeStops_data();
    void manualRangeStops();
    void requestFiles_data();
    void requestFiles();
    void setBasedReadsWriteTheSameBytes_data();
    void setBasedReadsWriteTheSameBytes();

private:
    QString database(const QString& engine);

    std::unique_ptr<QTemporaryDir> home_;
    QString sqlite_;
};

void TestExportRun::init()
{
    home_ = std::make_unique<QTemporaryDir>();
    sqlite_ = database(QStringLiteral("sqlite"));
}

QString TestExportRun::database(const QString& engine)
{
    return test::freshDatabase(engine, home_->filePath(QStringLiteral("qmx.db")),
                               test::fixtureStatements());
}

void TestExportRun::wholeFileByteForByte_data()
{
    QTest::addColumn<QString>("engine");
    QTest::newRow("sqlite") << "sqlite";
    QTest::newRow("postgresql") << "postgresql";
    QTest::newRow("odbc") << "odbc";
}

void TestExportRun::wholeFileByteForByte()
{
    QFETCH(QString, engine);
    Harness h(database(engine), home_->path());
    h.agent.model().settings().EdKatalogWymiany = h.exchange + u'/'; // the same folder
    QVERIFY(h.exportDay(D).complete());

    const QByteArray expected =
        "INFO_N|NAZWA_PLIKU|KOD_SKLEPU|DATA_DANYCH|DATA_GENER_S|DATA_GENER_Z|WERSJA|KOD_ZRODLA|"
        "IL_TOW|IL_ZAK|IL_SPR|IL_MAG|IL_BIZ|OS_NAME|SCIEZKA_EXP|DANE_EXP|\r\n"
        "INFO|PSHD_LDZ1_HD0001_20260310_080910|LDZ1|2026-03-10|2026-03-11:08:09:10|"
        "2026-03-11:08:09:10|1.0.0.0|QMX|7|4|4|2|1|" +
        toWindows1250(operatingSystemName()) + "|" + h.exchange.toUtf8() +
        "|1111111111|\r\n"
        "TOW_N|ID_TOW|EAN|PLU|NAZWA|KOD_JM|ST_VAT|NR_GR|NAZWA_GR|PKWIU|\r\n"
        "TOW|1|00000000000029||Zolty ser / gouda|1|23|1|Nabial/Sery|10.51.40.0-ABCDEFGHI|\r\n"
        "TOW|2|5901234567890123|123|Woda zrodlana|6|8|2|Napoje|11.07.11.0|\r\n"
        "TOW|3|05900000000003||Sok jablkowy|1|5|2|Napoje||\r\n"
        "TOW|4|00000000000000||Mleko|2|0|1|Nabial/Sery|10.51.11.0|\r\n"
        "TOW|6|06000000000006||M\xFCsli Se?or|1|23|2|Napoje|x|\r\n"
        "TOW|7|07000000000007||Tylko zakup|1|23|2|Napoje||\r\n"
        "SPR_N|ID_TOW|EAN|ILOSC_S|CENA_S|WART_S_CZ|WART_S_CS|ILOSC_PAR|\r\n"
        "SPR|1|00000000000029|4.000|12.30|32.00|49.20|6|\r\n"
        "SPR|3|05900000000003|2.000|3.50|5.00|6.30|1|\r\n"
        "SPR|4|00000000000000|1.500|4.00|3.00|6.00|1|\r\n"
        "SPR|5|04000000000005|1.000|6.15|5.00|6.15|1|\r\n"
        "ZAK_N|NIP|ID_TOW|EAN|ILOSC_Z|CENA_Z|WART_Z_CZ|\r\n"
        "ZAK|1010000203|1|00000000000029|2.000|19.00|38.00|\r\n"
        "ZAK|1010000203|2|5901234567890123|5.000|1.45|7.25|\r\n"
        "ZAK|5260001246|2|5901234567890123|8.000|1.40|11.40|\r\n"
        "ZAK||7|07000000000007|1.000|4.00|4.00|\r\n"
        "MAG_N|ID_TOW|EAN|ILOSC_M|WART_M_CZ|\r\n"
        "MAG|2|5901234567890123|10.000|15.00|\r\n"
        "MAG|6|06000000000006|3.500|14.00|\r\n"
        "BIZ_N|WART_Z_CZ|WART_S_CZ|WART_S_CS|ILOSC_PAR|ILOSC_SRPLU|WART_SRPAR|\r\n"
        "BIZ|70.650|114.500|169.200|10|4|16.920|\r\n";
    QCOMPARE(readFile(h.path("LDZ1")), expected);
    QCOMPARE(h.agent.uploadList(), (QStringList{h.path("PST3"), h.path("KRK2"), h.path("LDZ1")}));
    // Again in the same second: the file is emptied and written anew.
    h.exportDay(D);
    QCOMPARE(readFile(h.path("LDZ1")), expected);
    // A shop with nothing on the day: the headers and the indicators (chain-wide ones).
    QCOMPARE(readFile(h.path("PST3")).count("\r\n"), 8);
    QCOMPARE(readFile(h.path("PST3")).split('\n').value(1).split('|').mid(8, 5).join('|'),
             "0|0|0|0|1");
}

void TestExportRun::fileThatCannotBeCreated_data()
{
    QTest::addColumn<bool>("unattended");
    QTest::newRow("attended: box and log") << false;
    QTest::newRow("unattended: log only") << true;
}

void TestExportRun::fileThatCannotBeCreated()
{
    QFETCH(bool, unattended);
    Harness h(sqlite_, home_->path());
    h.agent.model().flags().unattended = unattended;
    QVERIFY(QDir().mkdir(h.path("KRK2"))); // a folder where the file should go
    h.exportDay(D);
    const QString message = "Błąd otwarcia pliku " + h.path("KRK2") +
                            "\nByć może plik jest używany przez inną aplikację.";
    QCOMPARE(h.doubles.dialogs.boxes.size(), unattended ? 0 : 1);
    if (!unattended)
        QCOMPARE(h.doubles.dialogs.boxes.front().text, message);
    QVERIFY(h.agent.model().messagePane().join(u'\n').contains(message.section(u'\n', 0, 0)));
    // The other shops went on.
    QCOMPARE(h.agent.uploadList(), (QStringList{h.path("PST3"), h.path("LDZ1")}));
}

void TestExportRun::errorInTheBodyLeavesTheFileUnqueued()
{
    Harness h(sqlite_, home_->path());
    test::Connect(sqlite_)->ExecSQL(QStringLiteral("drop table SklepParagon"));
    QVERIFY_THROWS_EXCEPTION(std::exception, h.exportDay(D));
    // The first shop of the list failed in its indicators: file left, nothing queued.
    QVERIFY(QFile::exists(h.path("PST3")));
    QVERIFY(!QFile::exists(h.path("KRK2")));
    QVERIFY(h.agent.uploadList().isEmpty());
}

void TestExportRun::manualRangeBackwardsOnlyUploads()
{
    test::FtpServer server({"--refuse", "RNTO:1"});
    Harness h(sqlite_, home_->path());
    h.sendTo(server.port());
    const QString a = QStringLiteral("PSHD_A_HD0001_20261130_120000.DAT");
    const QString b = QStringLiteral("PSHD_B_HD0001_20261130_120000.DAT");
    for (const QString& name : {a, b}) {
        writeFile(h.exchange + u'/' + name, name.toLatin1());
        h.agent.ledger().made(h.exchange + u'/' + name);
    }
    h.agent.model().settings().DateTimePicker1 = D;
    h.agent.model().settings().DateTimePicker2 = D.addDays(-1);
    h.agent.manualExport().run();
    // The newest failed first; after the next success it was tried again.
    const QStringList& pane = h.agent.model().messagePane();
    const QStringList failed =
        pane.filter(QStringLiteral("|Wystąpiły błędy podczas wysyłania pliku ") + b + u'.');
    QCOMPARE(failed.size(), 1);
    QVERIFY(pane.value(pane.indexOf(failed.front()) + 1).contains(u"|Przyczyna: "));
    QCOMPARE(pane.filter(u"|Wysyłanie zakończono pomyślnie.").size(), 2);
    QVERIFY(h.agent.uploadList().isEmpty());
    QCOMPARE(QDir(server.root()).entryList(QDir::Files), (QStringList{a, b}));
    QCOMPARE(QDir(h.exchange).entryList({QStringLiteral("PSHD_*")}), (QStringList{a, b}));
    QVERIFY(h.agent.scheduler().isRunning());
}

void TestExportRun::manualRangeStops_data()
{
    // Days after D; the run (one per shop and day) whose receipts table goes, 0: none.
    QTest::addColumn<int>("today");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("failingRun");
    QTest::addColumn<int>("lastExported");
    QTest::newRow("before today") << 2 << 5 << 0 << 1;
    QTest::newRow("after a day whose last shop failed") << 5 << 3 << 6 << 0;
}

void TestExportRun::manualRangeStops()
{
    QFETCH(int, today);
    QFETCH(int, to);
    QFETCH(int, failingRun);
    QFETCH(int, lastExported);
    Harness h(sqlite_, home_->path());
    test::FtpServer server;
    QVERIFY(server.started());
    h.sendTo(server.port());
    RecordingProgress progress;
    progress.beforeRun = [&](int run) {
        if (run == failingRun)
            test::Connect(sqlite_)->ExecSQL(QStringLiteral("drop table SklepParagon"));
    };
    h.agent.manualExport().setProgressDisplay(&progress);
    h.doubles.clock.set(QDateTime(D.addDays(today), QTime(8, 9, 10)));
    SettingsControls& settings = h.agent.model().settings();
    settings.DateTimePicker1 = D;
    settings.DateTimePicker2 = D.addDays(to);
    settings.CBZapisKonfig = SettingsStores::TableOnly;
    h.agent.manualExport().run();

    QCOMPARE(progress.shows, 6); // three shops, two days
    QCOMPARE(progress.percents.mid(0, 11),
             (QList<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 10}));
    // A failed shop has no file; the last complete day is recorded once its files went.
    QCOMPARE(h.doubles.dialogs.exceptions.size(), failingRun ? 1 : 0);
    QCOMPARE(QDir(server.root()).entryList({QStringLiteral("*.DAT")}).size(), failingRun ? 5 : 6);
    QCOMPARE(settings.DataOstatniegoEksportu, D.addDays(lastExported));
    QVERIFY(test::konfigRows(sqlite_).contains(
        QStringLiteral("ParDataOstEksp=%1").arg(dayNumber(D.addDays(lastExported)))));
}

void TestExportRun::requestFiles_data()
{
    // Good ones, a day not yet ended among them, are served by the agent's catch-up test.
    QTest::addColumn<QByteArray>("content");
    // The file once its day has been sent (null: as it was; "~ blocked": its copy cannot be made).
    QTest::addColumn<QByteArray>("between");
    QTest::addColumn<std::optional<QDate>>("day");
    QTest::addColumn<QByteArray>("after"); // null: the file is gone
    QTest::addColumn<QStringList>("aside");
    const QByteArray none;
    const QDate first(2026, 3, 1);
    const auto row = [](const char* tag, const QByteArray& content, const QByteArray& between,
                        std::optional<QDate> day, const QByteArray& after,
                        const QStringList& aside = {}) {
        QTest::newRow(tag) << content << between << day << after << aside;
    };
    row("not a date: set aside", "20261345\r\n", none, {}, none, {"LDZ1_braki.kvr.bad"});
    row("nothing but blank lines: removed", "\r\n \r\n", none, {}, none);
    row("blank lines are no days", "\r\n20260301\r\n\r\n", none, first, none);
    row("a day still to come keeps its place, the next is served", "20991231\r\n20260301\r\n", none,
        first, "20991231\r\n");
    row("a very long line", "20260301" + QByteArray(1 << 20, 'x') + "\r\n20260302\r\n", none, first,
        "20260302\r\n");
    // Lines fetched meanwhile joined the file: only the day that was sent leaves it.
    row("the started line goes where it stands", "20260301\r\n20260302\r\n",
        "20260227\r\n20260301\r\n20260302\r\n", first, "20260227\r\n20260302\r\n");
    row("a line that is gone is not looked for", "20260301\r\n", "20260302\r\n", first,
        "20260302\r\n");
    // The copy cannot be made: sent again at every idle tick unless the file goes aside, and
    // one set aside before keeps its days.
    row("a removal that fails sets it aside", "20260301\r\n20260302\r\n", "~ blocked", first, none,
        {"LDZ1_braki.kvr.2.bad", "LDZ1_braki.kvr.bad"});
}

void TestExportRun::requestFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, between);
    QFETCH(std::optional<QDate>, day);
    QFETCH(QByteArray, after);
    Harness h(sqlite_, home_->path());
    h.agent.model().flags().unattended = true;
    const QString path = h.exchange + QStringLiteral("/LDZ1_braki.kvr");
    writeFile(path, content);
    MissingDataRequests requests(h.agent.log(), h.doubles.dialogs);
    QCOMPARE(requests.findRequest(*h.agent.settings().record(),
                                  exportSettingsShown(h.agent.model()), Morning.date()),
             day);
    const bool blocked = between == "~ blocked";
    if (blocked) {
        writeFile(path + ".bad", "earlier");
        QVERIFY(QDir().mkdir(path + u'~'));
    } else if (!between.isNull()) {
        writeFile(path, between);
    }
    if (day)
        requests.removeHandledDay();
    QCOMPARE(QFile::exists(path), !after.isNull());
    QCOMPARE(readFile(path), after);
    QFETCH(QStringList, aside);
    QCOMPARE(QDir(h.exchange).entryList({QStringLiteral("*.bad")}, QDir::Files), aside);
    if (blocked)
        QCOMPARE(readFile(path + ".bad"), "earlier");
    // What went aside is said; no line of the log carries a megabyte.
    const QStringList& log = h.agent.model().messagePane();
    QCOMPARE(!log.filter(u"odłożono jako").isEmpty(), !aside.isEmpty());
    for (const QString& line : log)
        QVERIFY(line.size() < 300);
}

void TestExportRun::setBasedReadsWriteTheSameBytes_data()
{
    QTest::addColumn<QString>("engine");
    QTest::newRow("sqlite") << "sqlite";
    QTest::newRow("postgresql") << "postgresql";
}

void TestExportRun::setBasedReadsWriteTheSameBytes()
{
    QFETCH(QString, engine);
    const QString name = database(engine);
    // Beyond the hand-computed chain: several PLU rows of one goods item (the first counts),
    // a position whose shop goods is unknown (goods 0) or names a goods item that is not
    // there, and one goods item in stock under two shop goods.
    auto session = test::Connect(name);
    for (const char* statement :
         {"insert into KodDod values (2, 1, '8888', 456), (6, 1, '0', 0), (6, 1, '6667', 77)",
          "insert into SklepTowar values (198, 1, 77), (108, 1, 3)",
          "insert into SklepIstw values (108, 1, 1.25)",
          "insert into SklepPozDok values (3, 1, 4, 199, 1, 0, 1.0, 1.0, 2300, 1.0, 1.0, 0), "
          "(3, 1, 5, 198, 1, 0, 1.0, 1.0, 2300, 1.0, 1.0, 0)"})
        session->ExecSQL(QString::fromUtf8(statement));
    // Stock read and not read; a day with documents and one with few.
    for (const auto& [day, today] :
         {std::pair{D, D.addDays(1)}, {D, D.addDays(9)}, {D.addDays(1), D.addDays(2)}}) {
        Harness h(name, home_->path());
        QMap<QString, QByteArray> described;
        h.agent.exportRun().setStatements(ExportStatements::Described);
        h.exportDay(day, today);
        for (const QString& file : QDir(h.exchange).entryList(QDir::Files))
            described[file] = readFile(h.exchange + u'/' + file);
        h.agent.exportRun().setStatements(ExportStatements::SetBased);
        h.exportDay(day, today);
        QCOMPARE(described.size(), 3);
        for (auto file = described.cbegin(); file != described.cend(); ++file)
            QCOMPARE(readFile(h.exchange + u'/' + file.key()), file.value());
        QDir(h.exchange).removeRecursively();
    }
}

QTEST_GUILESS_MAIN(TestExportRun)
#include "tst_export_run.moc"
