#include "model/event_log.h"
#include "model/window_model.h"
#include "support/fake_clock.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tarvexio;

class TestEventLog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void writesFileAndPane();
    void paneRules();
    void unwritableFolderLeavesPaneOnly();
    void journalPriorityByMeaning_data();
    void journalPriorityByMeaning();

private:
    QString logFile() const { return folder_->filePath(QStringLiteral("Tarvexio.log")); }

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<WindowModel> model_;
    std::unique_ptr<test::FakeClock> clock_;
    std::unique_ptr<EventLog> log_;
};

void TestEventLog::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    clock_ = std::make_unique<test::FakeClock>();
    model_ = std::make_unique<WindowModel>();
    log_ = std::make_unique<EventLog>(*model_, *clock_);
}

void TestEventLog::writesFileAndPane()
{
    log_->prepare(folder_->path() + u'/');
    QVERIFY(log_->hasFile());
    for (const char* line :
         {"Uruchomiono program", "a\r\nb", "Uruchomiono program", "Połączono się z bazą łódź"})
        log_->WriteLog(QString::fromUtf8(line));
    // CR-LF pairs vanish; a start after earlier lines gets an empty line before it, in the
    // file only; the file is in the system encoding (UTF-8 here).
    QCOMPARE(test::readFile(logFile()), QStringLiteral("04-12-26|07:05:09|Uruchomiono program\r\n"
                                                       "04-12-26|07:05:09|ab\r\n"
                                                       "\r\n"
                                                       "04-12-26|07:05:10|Uruchomiono program\r\n"
                                                       "04-12-26|07:05:10|Połączono się z bazą "
                                                       "łódź\r\n")
                                            .toUtf8());
    QCOMPARE(clock_->pauses, (QList<int>{500, 500, 500, 500}));
    QCOMPARE(model_->messagePane().size(), 4);
    QCOMPARE(model_->messagePane()[1], QStringLiteral("04-12-26|07:05:09|ab"));
}

void TestEventLog::paneRules()
{
    log_->WriteLog(QStringLiteral("0"), false);
    QVERIFY(!model_->trayCommandEnabled(TrayCommand::Komunikaty));
    QVERIFY(!model_->trayBlinking());
    for (int i = 1; i <= 1000; ++i)
        log_->WriteLog(QString::number(i));
    QVERIFY(model_->trayCommandEnabled(TrayCommand::Komunikaty)); // from the second line
    QCOMPARE(model_->messagePane().size(), 1000);                 // the last thousand
    QVERIFY(model_->messagePane().front().endsWith(u"|1"));
    QVERIFY(!model_->trayBlinking());
    log_->WriteLog(QStringLiteral("loud"), true);
    QVERIFY(model_->trayBlinking());
}

void TestEventLog::unwritableFolderLeavesPaneOnly()
{
    // A "folder" that is a file: no user, root included, can create a log inside it.
    const QString notAFolder = folder_->filePath(QStringLiteral("plik"));
    test::writeFile(notAFolder, "");
    log_->prepare(notAFolder);
    QVERIFY(!log_->hasFile());
    log_->WriteLog(QStringLiteral("still shown"));
    QCOMPARE(model_->messagePane().size(), 1);
}

void TestEventLog::journalPriorityByMeaning_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("alert"); // the tray's blink, as the line is written
    QTest::addColumn<LineMeaning>("meaning");
    QTest::addColumn<QByteArray>("journal");
    QTest::newRow("a success that blinks when unattended")
        << "Wygenerowano plik raportu" << true << LineMeaning::Information
        << QByteArray("<6>Wygenerowano plik raportu");
    QTest::newRow("a failure") << "Wystąpiły błędy" << true << LineMeaning::Told
                               << QByteArray("<3>Wystąpiły błędy");
    QTest::newRow("a box's caption")
        << "UWAGA! Brak" << false << LineMeaning::Told << QByteArray("<4>UWAGA! Brak");
    QTest::newRow("a refused setting")
        << "Zapisany dzień jest poza zakresem" << true << LineMeaning::Warning
        << QByteArray("<4>Zapisany dzień jest poza zakresem");
    QTest::newRow("plain") << "Połączono" << false << LineMeaning::Told
                           << QByteArray("<6>Połączono");
}

void TestEventLog::journalPriorityByMeaning()
{
    QFETCH(QString, text);
    QFETCH(bool, alert);
    QFETCH(LineMeaning, meaning);
    QByteArray journal;
    log_->setEcho([&journal](const QString&, const QString& written, LineMeaning told) {
        journal = journalLine(written, told);
    });
    log_->WriteLog(text, alert, meaning);
    QTEST(journal, "journal");
    // The tray and the status's alerting lines: the blink as written, a success never listed.
    QCOMPARE(model_->trayBlinking(), alert);
    QCOMPARE(log_->recentAlerts().size(), alert && meaning != LineMeaning::Information ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestEventLog)
#include "tst_event_log.moc"
