#include "model/event_log.h"
#include "model/window_model.h"
#include "support/fake_clock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvexio;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestEventLog : public QObject {
    Q_OBJECT
private slots:
    void formatsLines_data();
    void formatsLines();
    void writesFileAndPane();
    void emptyLineBeforeStartOnlyAfterEarlierLines();
    void paneKeepsLastThousandLines();
    void komunikatyEnabledFromSecondLine();
    void alertStartsBlinking();
    void unwritableFolderLeavesPaneOnly();
    void fileLostAfterPreparationRaises();
    void trailingSeparatorOfFolderIgnored();
};

void TestEventLog::formatsLines_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("the documented example") << QDateTime(QDate(2026, 12, 4), QTime(7, 5, 9)) << "x"
                                            << "04-12-26|07:05:09|x";
    QTest::newRow("text with its own separators")
        << QDateTime(QDate(2031, 1, 30), QTime(23, 59, 58)) << "a|b|"
        << "30-01-31|23:59:58|a|b|";
    QTest::newRow("year 2100 keeps three digits")
        << QDateTime(QDate(2100, 3, 1), QTime(0, 0, 0)) << "y"
        << "01-03-100|00:00:00|y";
}

void TestEventLog::formatsLines()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, text);
    QTEST(EventLog::FormatLine(moment, text), "line");
}

void TestEventLog::writesFileAndPane()
{
    QTemporaryDir folder;
    WindowModel model;
    test::FakeClock clock;
    EventLog log(model, clock);
    log.Prepare(folder.path());
    QVERIFY(log.hasFile());

    log.WriteLog(QStringLiteral("a\r\nb"));
    log.WriteLog(QStringLiteral("Połączono się z bazą łódź"));

    // CR-LF pairs vanish; the file is in the system encoding (UTF-8 here).
    QCOMPARE(ReadAll(folder.filePath(QStringLiteral("Tarvexio.log"))),
             QStringLiteral("04-12-26|07:05:09|ab\r\n"
                            "04-12-26|07:05:09|Połączono się z bazą łódź\r\n")
                 .toUtf8());
    QCOMPARE(clock.pauses, (QList<int>{500, 500}));
    QCOMPARE(model.messagePane(),
             (QStringList{"04-12-26|07:05:09|ab", "04-12-26|07:05:09|Połączono się z bazą łódź"}));
}

void TestEventLog::emptyLineBeforeStartOnlyAfterEarlierLines()
{
    QTemporaryDir folder;
    WindowModel model;
    test::FakeClock clock;
    EventLog log(model, clock);
    log.Prepare(folder.path());
    log.WriteLog(QStringLiteral("Uruchomiono program"));
    log.WriteLog(QStringLiteral("x"));
    log.WriteLog(QStringLiteral("Uruchomiono program"));
    log.WriteLog(QStringLiteral("Uruchomiono programy"));
    QCOMPARE(ReadAll(folder.filePath(QStringLiteral("Tarvexio.log"))),
             QByteArray("04-12-26|07:05:09|Uruchomiono program\r\n"
                        "04-12-26|07:05:09|x\r\n"
                        "\r\n"
                        "04-12-26|07:05:10|Uruchomiono program\r\n"
                        "04-12-26|07:05:10|Uruchomiono programy\r\n"));
    // The pane never gets the empty line.
    QCOMPARE(model.messagePane().size(), 4);
}

void TestEventLog::paneKeepsLastThousandLines()
{
    WindowModel model;
    test::FakeClock clock;
    EventLog log(model, clock);
    for (int i = 1; i <= 1001; ++i)
        log.WriteLog(QString::number(i));
    QCOMPARE(model.messagePane().size(), 1000);
    QVERIFY(model.messagePane().front().endsWith(u"|2"));
    QVERIFY(model.messagePane().back().endsWith(u"|1001"));
}

void TestEventLog::komunikatyEnabledFromSecondLine()
{
    WindowModel model;
    test::FakeClock clock;
    EventLog log(model, clock);
    log.WriteLog(QStringLiteral("one"));
    QVERIFY(!model.trayCommandEnabled(TrayCommand::Komunikaty));
    log.WriteLog(QStringLiteral("two"));
    QVERIFY(model.trayCommandEnabled(TrayCommand::Komunikaty));
}

void TestEventLog::alertStartsBlinking()
{
    WindowModel model;
    test::FakeClock clock;
    EventLog log(model, clock);
    log.WriteLog(QStringLiteral("quiet"), false);
    QVERIFY(!model.trayBlinking());
    log.WriteLog(QStringLiteral("loud"), true);
    QVERIFY(model.trayBlinking());
}

void TestEventLog::unwritableFolderLeavesPaneOnly()
{
    // A "folder" that is a file: no user, root included, can create a log inside it.
    QTemporaryDir folder;
    const QString notAFolder = folder.filePath(QStringLiteral("plik"));
    QFile file(notAFolder);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    WindowModel model;
    test::FakeClock clock;
    EventLog log(model, clock);
    log.Prepare(notAFolder);
    QVERIFY(!log.hasFile());
    log.WriteLog(QStringLiteral("still shown"));
    QCOMPARE(model.messagePane().size(), 1);
}

void TestEventLog::fileLostAfterPreparationRaises()
{
    QTemporaryDir folder;
    WindowModel model;
    test::FakeClock clock;
    EventLog log(model, clock);
    log.Prepare(folder.path());
    const QString path = folder.filePath(QStringLiteral("Tarvexio.log"));
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));
    QVERIFY_THROWS_EXCEPTION(EMFileError, log.WriteLog(QStringLiteral("lost")));
}

void TestEventLog::trailingSeparatorOfFolderIgnored()
{
    QTemporaryDir folder;
    WindowModel model;
    test::FakeClock clock;
    EventLog log(model, clock);
    log.Prepare(folder.path() + u'/');
    log.WriteLog(QStringLiteral("x"));
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("Tarvexio.log"))));
}

QTEST_GUILESS_MAIN(TestEventLog)
#include "tst_event_log.moc"
