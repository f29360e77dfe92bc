#include "app/agent.h"
#include "app/configuration_store.h"
#include "config/directory_choice.h"
#include "config/parameter_list.h"
#include "config/password_coding.h"
#include "config/settings_record.h"
#include "db/db_error.h"
#include "db/session.h"
#include "platform/windows1250.h"
#include "support/agent_doubles.h"
#include "support/files.h"
#include "support/test_database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvexio;
using test::readFile;
using test::writeFile;

namespace {

const QString Password = QStringLiteral("Tajne€Hasło#1");

// An agent whose first session has built and loaded the settings record.
struct Harness : test::TestAgent {
    Harness(const QString& database, const QString& folder)
        : TestAgent(folder, database)
    {}
    TKonfigEksportu& record() { return *agent.settings().record(); }
    ConfigurationStore& store() { return *agent.settings().store(); }
    SettingsControls& controls() { return agent.model().settings(); }
    QStringList list() { return writeParameterList(record()); }
};

// Every control away from its default, texts with Polish letters and awkward characters.
void changeEveryControl(SettingsControls& c)
{
    c.EdKatalogWymiany = QStringLiteral("/srv/wymiana łódź");
    c.EdSerwis_IT = QStringLiteral("IT-7");
    c.CSGodzEdit = 6;
    c.CSMinEdit = 45;
    c.consent = {false, true, false, true, false, true, false, true, false, true};
    c.DataOstatniegoEksportu = QDate(2026, 11, 30);
    c.CBAutoStart = false;
    c.ed_hostFTP = QStringLiteral("ftp.example.test");
    c.ed_userFTP = QStringLiteral("O'Brien");
    c.ed_hasloFTP = Password;
    c.ed_folderFTP = QStringLiteral("przychodzące/2026");
    c.cb_DomyslnyPortFTP = false;
    c.ed_portFTP = QStringLiteral("2121");
    c.CbPlikPBK = true;
    c.EdPlikPBK = QStringLiteral("/etc/ppp/książka.pbk");
    c.cb_PbkCzyModem = true;
    c.Cb_PbkEntry = QStringLiteral("Modem GSM");
    c.ed_UzytkownikPbk = QStringLiteral("dial user");
    c.ed_HasloPbk = QStringLiteral("żółw 123");
}

QByteArray line(const char* name, const QByteArray& value)
{
    return QByteArray(name).leftJustified(35, ' ') + ' ' + value + "\r\n";
}

} // namespace

class TestConfigurationStore : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void roundTrip_data();
    void roundTrip();
    void fileOnlySaveTouchesOneRow_data();
    void fileOnlySaveTouchesOneRow();
    void handEditedFile_data();
    void handEditedFile();
    void unreadableFileKeepsDefaults_data();
    void unreadableFileKeepsDefaults();
    void unwritableFolderGivesSaveMessage();
    void missingTableReportedDefaultsKept();
    void passwordsStayOutOfLogAndErrors();
    void autostartSynchronisedAtLoad_data();
    void autostartSynchronisedAtLoad();
    void desktopEntryFile_data();
    void desktopEntryFile();
    void removeEmptyFolder_data();
    void removeEmptyFolder();

private:
    QString database(const QString& engine);

    std::unique_ptr<QTemporaryDir> folder_;
    QString sqlite_;
};

void TestConfigurationStore::initTestCase()
{
    QVERIFY2(!test::postgresUrl().isEmpty(), "the PostgreSQL fixture did not start");
}

void TestConfigurationStore::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    sqlite_ = database(QStringLiteral("sqlite"));
}

QString TestConfigurationStore::database(const QString& engine)
{
    return test::freshDatabase(
        engine, folder_->filePath(QStringLiteral("qmx.db")),
        {"insert into Sklep values (1, 'Sklep Łódź'), (2, 'Sklep Kraków'), (0, 'Centrala')"});
}

void TestConfigurationStore::roundTrip_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("readFromFile");
    for (const char* engine : {"sqlite", "postgresql"}) {
        QTest::addRow("%s, table and file, next start from the table", engine)
            << engine << 0 << false;
        QTest::addRow("%s, table and file, next start from the file", engine)
            << engine << 0 << true;
        QTest::addRow("%s, table only", engine) << engine << 1 << false;
        QTest::addRow("%s, file only", engine) << engine << 2 << true;
    }
    // The box says "from the file" but none was written: the defaults stay.
    QTest::newRow("sqlite, table only, read from no file") << "sqlite" << 1 << true;
}

void TestConfigurationStore::roundTrip()
{
    QFETCH(QString, engine);
    QFETCH(int, mode);
    QFETCH(bool, readFromFile);
    const QString db = database(engine);
    QStringList defaults;
    QStringList saved;
    {
        Harness first(db, folder_->path());
        QVERIFY(first.agent.settings().record());
        defaults = first.list();
        changeEveryControl(first.controls());
        first.controls().CBZapisKonfig = mode;
        first.controls().CBKonfigZPliku = readFromFile;
        first.record().setKodKvr(0, QStringLiteral("KVR-0 centrala"));
        first.record().setKodKvr(2, QStringLiteral("KVR łódź"));
        first.agent.settings().saveConfiguration();
        QVERIFY2(first.doubles.dialogs.exceptions.isEmpty(),
                 qPrintable(first.doubles.dialogs.exceptions.join(u'\n')));
        QVERIFY(first.doubles.dialogs.boxes.isEmpty());
        saved = first.list();
    }
    const QString file = folder_->filePath(QStringLiteral("tarvexio.cfg"));
    QCOMPARE(QFile::exists(file), mode != 1);
    // It holds the FTP password: its user's alone.
    QCOMPARE(QFile::permissions(file) & (QFile::ReadGroup | QFile::ReadOther),
             QFile::Permissions());

    Harness next(db, folder_->path());
    if (mode == SettingsStores::TableOnly && readFromFile) {
        QCOMPARE(next.list(), defaults);
        return;
    }
    QCOMPARE(next.list(), saved); // the password as coded, so decoded alike
    QCOMPARE(next.record().ftp.ParHasloFTP, Password);
    QVERIFY(next.controls().portEnabled);
}

void TestConfigurationStore::fileOnlySaveTouchesOneRow_data()
{
    QTest::addColumn<bool>("savedBefore");
    QTest::newRow("on an empty group") << false;
    QTest::newRow("after a full save") << true;
}

void TestConfigurationStore::fileOnlySaveTouchesOneRow()
{
    QFETCH(bool, savedBefore);
    Harness h(sqlite_, folder_->path());
    QStringList expected{"ParKonfigZPliku=0"};
    if (savedBefore) {
        h.agent.settings().saveConfiguration(); // mode 0: the full set
        expected = test::konfigRows(sqlite_);
        expected.replaceInStrings(QStringLiteral("ParKonfigZPliku=0"),
                                  QStringLiteral("ParKonfigZPliku=1"));
        h.controls().CBKonfigZPliku = true;
    }
    h.controls().CBZapisKonfig = SettingsStores::FileOnly;
    h.controls().EdSerwis_IT = QStringLiteral("tylko w pliku");
    h.agent.settings().saveConfiguration();
    // The table keeps even the old mode: only the read-from-file row is written.
    QCOMPARE(test::konfigRows(sqlite_), expected);
    QVERIFY(readFile(folder_->filePath(QStringLiteral("tarvexio.cfg"))).contains("tylko w pliku"));
}

void TestConfigurationStore::handEditedFile_data()
{
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<bool>("windows1250");
    QTest::addColumn<QString>("name");
    QTest::newRow("Windows-1250") << QByteArray() << true << "tarvexio.cfg";
    QTest::newRow("UTF-8") << QByteArray() << false << "tarvexio.cfg";
    QTest::newRow("UTF-8 with a byte-order mark")
        << QByteArray("\xEF\xBB\xBF") << false << "tarvexio.cfg";
    // A save cut short between the backup's rename and the new file's write.
    QTest::newRow("the backup alone") << QByteArray() << false << "tarvexio.~cfg";
}

void TestConfigurationStore::handEditedFile()
{
    QFETCH(QByteArray, prefix);
    QFETCH(bool, windows1250);
    const auto text = [&](const QString& s) {
        return windows1250 ? toWindows1250(s) : s.toUtf8();
    };
    QByteArray file = prefix;
    file += QByteArray("ParSerwerFTP").leftJustified(35, ' ') + "     " +
            text(QStringLiteral("ftp.łódź")) + "   \r\n";
    file += line("ParGodz", "x"); // not a number
    file += line("ParMin", "07");
    file += line("ParSerwis_IT", ""); // empty: keeps the default
    file += line("ParEksportDir", text(QStringLiteral("/srv/wymiana/")));
    file += line("ParKodKVR1", "no hash");   // id 0: Centrala
    file += line("ParKodKVR#2a", "letters"); // id 0 as well
    file += line("ParKodKVR#2", "kod dwa");
    file += line("ParKodKVR#99", "no such shop");
    file += line("ParCenySp", "5");
    file += line("ParMin", "9"); // a later line wins
    QFETCH(QString, name);
    writeFile(folder_->filePath(name), file);

    Harness h(sqlite_, folder_->path());
    h.store().loadFromFile();
    QCOMPARE(h.agent.model().messagePane().join(u'\n').contains(u"wczytano jego kopię"),
             name.contains(u'~'));
    const TKonfigEksportu& r = h.record();
    QCOMPARE(r.ftp.ParSerwerFTP, QStringLiteral("ftp.łódź"));
    QCOMPARE(r.ParGodz, quint16(24));
    QCOMPARE(h.controls().CSGodzEdit, 23);
    QCOMPARE(r.ParMin, quint16(9));
    QCOMPARE(r.ParSerwis_IT, QString());
    QCOMPARE(r.ParEksportDir, QStringLiteral("/srv/wymiana"));
    QCOMPARE(h.controls().EdKatalogWymiany, QStringLiteral("/srv/wymiana"));
    QCOMPARE(r.kodKvrForShop(0), QStringLiteral("letters"));
    QCOMPARE(r.kodKvrForShop(2), QStringLiteral("kod dwa"));
    QCOMPARE(r.kodKvrForShop(99), QString());
    QCOMPARE(r.consent[ParCenySp], 5);
    QVERIFY(h.controls().consent[ParCenySp]);
    QVERIFY(h.doubles.dialogs.boxes.isEmpty());
}

void TestConfigurationStore::unreadableFileKeepsDefaults_data()
{
    QTest::addColumn<bool>("directory");
    QTest::newRow("a directory of that name") << true;
    QTest::newRow("binary garbage") << false;
}

void TestConfigurationStore::unreadableFileKeepsDefaults()
{
    QFETCH(bool, directory);
    const QString path = folder_->filePath(QStringLiteral("tarvexio.cfg"));
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) % 256));
    if (directory)
        QVERIFY(QDir().mkdir(path));
    else
        writeFile(path, garbage);

    Harness h(sqlite_, folder_->path());
    const QStringList defaults = h.list();
    h.store().loadFromFile();
    QCOMPARE(h.doubles.dialogs.boxes.size(), 1);
    const MessageRequest& box = h.doubles.dialogs.boxes.front();
    QCOMPARE(box.text, QStringLiteral("Odczyt konfiguracji z pliku nie powiódł się"));
    QCOMPARE(box.caption, QStringLiteral("Uwaga"));
    QCOMPARE(box.icon, MessageIcon::Exclamation);
    QCOMPARE(h.list(), defaults);
    if (!directory)
        QCOMPARE(readFile(path), garbage);
}

void TestConfigurationStore::unwritableFolderGivesSaveMessage()
{
    // A folder that cannot hold files even for root: its path runs through a regular file.
    const QString blocked = folder_->filePath(QStringLiteral("plik"));
    writeFile(blocked, "x");
    test::TestAgent t(blocked, sqlite_);
    t.agent.model().settings().CBZapisKonfig = SettingsStores::TableAndFile;
    t.agent.settings().saveConfiguration();
    QCOMPARE(t.doubles.dialogs.boxes.size(), 1);
    QCOMPARE(t.doubles.dialogs.boxes.front().text,
             QStringLiteral("Zapis konfiguracji do pliku nie powiódł się"));
    // The table part of the save went through.
    QVERIFY(test::konfigRows(sqlite_).size() > 30);
}

void TestConfigurationStore::missingTableReportedDefaultsKept()
{
    test::Connect(sqlite_)->ExecSQL(QStringLiteral("drop table Konfig"));
    qputenv("TARVEXIO_BAZA", sqlite_.toUtf8());
    test::TestAgent t(folder_->path());
    t.agent.window().showWindow();
    qunsetenv("TARVEXIO_BAZA");
    const QStringList& exceptions = t.doubles.dialogs.exceptions;
    QCOMPARE(exceptions.size(), 1);
    QVERIFY2(exceptions.front().contains(u"Konfig"), qPrintable(exceptions.front()));
    QVERIFY(t.agent.settings().record());
    QCOMPARE(t.agent.settings().record()->ParGodz, quint16(20));
    QVERIFY(!t.agent.session().configurationLoaded());
    // Nothing was created or written in its place.
    QVERIFY_THROWS_EXCEPTION(EQMXDBError, test::konfigRows(sqlite_));
    QVERIFY(!QFile::exists(folder_->filePath(QStringLiteral("tarvexio.cfg"))));
}

void TestConfigurationStore::passwordsStayOutOfLogAndErrors()
{
    Harness h(sqlite_, folder_->path());
    h.agent.log().prepare(folder_->path());
    h.controls().ed_hasloFTP = Password;
    h.controls().ed_HasloPbk = Password;
    h.agent.settings().saveConfiguration();
    QVERIFY(!test::konfigRows(sqlite_).join(u'\n').contains(Password));
    QVERIFY(!QString::fromUtf8(readFile(folder_->filePath(QStringLiteral("tarvexio.cfg"))))
                 .contains(Password));

    // The insert of the password's own row fails: its statement stays out of the error.
    auto session = test::Connect(sqlite_);
    session->ExecSQL(QStringLiteral("drop table Konfig"));
    session->ExecSQL(QStringLiteral("create table Konfig (ParGrupa TEXT, ParNazwa TEXT, "
                                    "ParWartosc TEXT CHECK (ParNazwa <> 'ParHasloFTP'))"));
    h.agent.settings().saveConfiguration();
    QCOMPARE(h.doubles.dialogs.exceptions.size(), 1);
    QVERIFY(!h.doubles.dialogs.exceptions.front().contains(Password));
    QVERIFY(!h.doubles.dialogs.exceptions.front().contains(KodowanieHasla(Password)));
    QVERIFY(!QString::fromUtf8(readFile(folder_->filePath(QStringLiteral("Tarvexio.log"))))
                 .contains(Password));
}

void TestConfigurationStore::autostartSynchronisedAtLoad_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("existing");
    QTest::addColumn<bool>("testMode");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* tag, const char* stored, const char* existing, bool test,
                        const QString& expected) {
        QTest::newRow(tag) << stored << existing << test << expected;
    };
    const QString program = QStringLiteral("\"%1/tarvexio\" BAZA=%2 IDENT=kierownik");
    row("wanted and missing: written", "1", "", false, program);
    row("wanted in test mode", "1", "", true, program + " TEST");
    row("wanted and present: not rewritten", "1", "\"old\" BAZA=x", false, "\"old\" BAZA=x");
    row("unwanted and present: deleted", "0", "\"old\" BAZA=x", false, "");
    row("not a number counts as wanted", "tak", "", false, program);
}

void TestConfigurationStore::autostartSynchronisedAtLoad()
{
    QFETCH(QString, stored);
    QFETCH(QString, existing);
    QFETCH(bool, testMode);
    QFETCH(QString, expected);
    test::Connect(sqlite_)->ExecSQL("insert into Konfig values ('Tarvexio', 'ParAutoStart', '" +
                                    stored + "')");
    test::TestAgent t(folder_->path(), QString(), testMode ? QStringList{"TEST"} : QStringList{});
    if (!existing.isEmpty())
        t.doubles.autostart.entries[QStringLiteral("QMX2KVR")] = existing;
    t.agent.model().flags().test = testMode;
    t.agent.session().setNames(sqlite_, QStringLiteral("kierownik"));
    t.agent.session().ReopenSession();
    QCOMPARE(t.doubles.autostart.entries.value(QStringLiteral("QMX2KVR")),
             expected.contains(u'%') ? expected.arg(folder_->path(), sqlite_) : expected);
}

void TestConfigurationStore::desktopEntryFile_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("exec");
    const auto row = [](const char* tag, const char* program, const char* database,
                        const char* exec) {
        QTest::newRow(tag) << program << database << exec;
    };
    row("plain", "/opt/t/tarvexio", "/srv/qmx.db", "/opt/t/tarvexio BAZA=/srv/qmx.db IDENT=u");
    row("blank in the path", "/opt/moje programy/tarvexio", "/srv/qmx.db",
        "\"/opt/moje programy/tarvexio\" BAZA=/srv/qmx.db IDENT=u");
    row("percent and quote", "/opt/t/tarvexio", "postgresql://jan:a%25b\"c@h/db",
        "/opt/t/tarvexio \"BAZA=postgresql://jan:a%%25b\\\\\"c@h/db\" IDENT=u");
}

void TestConfigurationStore::desktopEntryFile()
{
    QFETCH(QString, program);
    QFETCH(QString, database);
    QFETCH(QString, exec);
    XdgAutostartStore store(folder_->filePath(QStringLiteral("autostart")));
    store.write(QStringLiteral("QMX2KVR"),
                {program, {"BAZA=" + database, QStringLiteral("IDENT=u")}});
    QVERIFY(store.exists(QStringLiteral("QMX2KVR")));
    const QString path = folder_->filePath(QStringLiteral("autostart/QMX2KVR.desktop"));
    const QByteArray entry = readFile(path);
    QVERIFY(entry.startsWith("[Desktop Entry]\n"));
    QVERIFY2(entry.contains("\nExec=" + exec.toUtf8() + "\n"), entry.constData());
    QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther),
             QFile::Permissions());
    store.Delete(QStringLiteral("QMX2KVR"));
    QVERIFY(!QFile::exists(path));
}

void TestConfigurationStore::removeEmptyFolder_data()
{
    // Relative to the test's folder; "/" is the root itself.
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("content"); // a file inside the folder, if any
    QTest::addColumn<bool>("removed");
    QTest::newRow("an empty folder") << "a/pusty" << QByteArray() << true;
    QTest::newRow("with a trailing separator") << "a/pusty/" << QByteArray() << true;
    QTest::newRow("not empty: kept, with a box") << "a/pelny" << QByteArray("x") << false;
    QTest::newRow("the root") << "/" << QByteArray() << false;
}

void TestConfigurationStore::removeEmptyFolder()
{
    QFETCH(QString, folder);
    QFETCH(QByteArray, content);
    QFETCH(bool, removed);
    const bool root = folder == u"/";
    const QString path = root ? folder : folder_->filePath(folder);
    if (!root) {
        QVERIFY(QDir().mkpath(path));
        if (!content.isEmpty())
            writeFile(path + QStringLiteral("/plik.txt"), content);
    }
    test::RecordingDialogs dialogs;
    const std::optional<QString> parent = DirectoryChoice(dialogs).removeEmptyFolder(path);
    QCOMPARE(parent.has_value(), removed);
    QVERIFY(QFileInfo(path).isDir() != removed);
    if (removed)
        QCOMPARE(*parent, folder_->filePath(QStringLiteral("a")));
    // The parent and whatever the folder held stay; only a refusal of a real folder is said.
    QVERIFY(root || QFileInfo(folder_->filePath(QStringLiteral("a"))).isDir());
    QCOMPARE(dialogs.boxes.size(), !removed && !root ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestConfigurationStore)
#include "tst_configuration_store.moc"
