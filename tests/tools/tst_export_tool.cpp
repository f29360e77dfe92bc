// The operator's export tool where the reference reader does not go: the agent's own settings,
// failed shops.
#include "db/session.h"
#include "export_fixture.h"
#include "support/files.h"
#include "support/test_database.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run Export(const QStringList& arguments)
{
    QProcess process;
    process.start(qEnvironmentVariable("TARVEXIO_EXPORT_BINARY"), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

class TestExportTool : public QObject {
    Q_OBJECT
private slots:
    void init();
    void storedSettingsUnlessOverridden();
    void failedShopNamedOthersGoOn();
    void commandLine_data();
    void commandLine();

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QString database_;
    QString out_;
};

void TestExportTool::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    database_ = folder_->filePath(QStringLiteral("qmx.db"));
    out_ = folder_->filePath(QStringLiteral("out"));
    QDir().mkpath(out_);
    tarvexio::test::freshDatabase(QStringLiteral("sqlite"), database_,
                                  tarvexio::test::fixtureStatements());
}

void TestExportTool::storedSettingsUnlessOverridden()
{
    // The agent's own settings: directory, consent boxes, codes; shop 3 has none stored.
    tarvexio::test::Connect(database_)->ExecSQL(
        "insert into Konfig values ('Tarvexio', 'ParEksportDir', '" + out_ +
        "'), ('Tarvexio', 'ParCenySp', '0'), ('Tarvexio', 'ParKodKVR#1', 'LDZ1'), "
        "('Tarvexio', 'ParKodKVR#2', 'KRK2')");
    const Run run = Export({"--db", database_, "--from", "2026-03-10", "--to", "2026-03-10",
                            "--today", "2026-03-11", "--code", "2=OWN2"});
    QCOMPARE(run.exitCode, 0);
    const QStringList files = run.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(files.size(), 2);
    QVERIFY(files.filter(u"/PSHD_LDZ1_").size() == 1 && files.filter(u"/PSHD_OWN2_").size() == 1);
    QVERIFY2(run.err.contains(u"Sklep Pusty nie ma kodu KVR"), qPrintable(run.err));
    const QByteArray data = tarvexio::test::readFile(files.filter(u"/PSHD_LDZ1_").front());
    QCOMPARE(data.split('\n').value(1).split('|').value(15), "0111011111"); // DANE_EXP as stored
}

void TestExportTool::failedShopNamedOthersGoOn()
{
    // Every shop's indicators fail (the receipts table is gone); each is named, none stops
    // the others.
    tarvexio::test::Connect(database_)->ExecSQL(QStringLiteral("drop table SklepParagon"));
    const Run run = Export({"--db", database_, "--dir", out_, "--from", "2026-03-10", "--to",
                            "2026-03-10", "--today", "2026-03-11", "--code", "1=LDZ1", "--code",
                            "2=KRK2", "--code", "3=PST3"});
    QCOMPARE(run.exitCode, 1);
    for (const char* shop : {"Pusty", "Sklep Kraków", "Sklep Łódź"})
        QVERIFY2(run.err.contains(QStringLiteral("Wygenerowanie pliku ze sklepu %1 za dzień "
                                                 "10.03.2026 nie powiodło się")
                                      .arg(QString::fromUtf8(shop))),
                 qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

void TestExportTool::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::newRow("an unknown option")
        << QStringList{"--db", "x.db", "--colour"} << 2 << "Unknown option 'colour'.";
    QTest::newRow("a day missing")
        << QStringList{"--db", "x.db", "--from", "2026-03-10"} << 2 << "--to is required";
    QTest::newRow("a stray argument")
        << QStringList{"--db", "x.db", "--from", "2026-03-10", "--to", "2026-03-10", "x"} << 2
        << "unexpected arguments: x";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "tarvexio-export 1.0.0.0\n";
}

void TestExportTool::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    const Run run = Export(arguments);
    QTEST(run.exitCode, "exitCode");
    QVERIFY2((run.out + run.err).contains(said), qPrintable(run.out + run.err));
}

QTEST_GUILESS_MAIN(TestExportTool)
#include "tst_export_tool.moc"
