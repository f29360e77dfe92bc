#include "app/agent.h"
#include "forms/tfm_full_progress.h"
#include "forms/tfm_qmx_progress.h"
#include "forms/tfrm_main.h"
#include "support/agent_doubles.h"
#include "support/ftp_server.h"
#include "support/test_database.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvexio;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void followsTheAgent();
    void pagesSetWidthAndStopBlinking();
    void testButtonOnlyInTestMode_data();
    void testButtonOnlyInTestMode();
    void progressWindowShowsTheRun();
    void eksportSendsBehindTheTransmissionDialog();

private:
    QTemporaryDir folder_;
    QString database_;
};

void TestMainWindow::initTestCase()
{
    database_ = folder_.filePath(QStringLiteral("qmx.db"));
    test::CreateSqliteDatabase(database_, {{1, QStringLiteral("Sklep")}});
    qputenv("TARVEXIO_BAZA", database_.toUtf8());
}

void TestMainWindow::followsTheAgent()
{
    test::AgentDoubles doubles;
    Agent agent({}, doubles.ports(), {folder_.path(), folder_.filePath(QStringLiteral("tarvexio"))},
                QStringLiteral("1.0.0.0"));
    QSignalSpy terminations(&agent, &Agent::terminateRequested);
    Tfrm_main window(agent);
    QVERIFY(!window.isVisible());

    agent.ShowWindow();
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), "Tarvexio SFTP (" + database_ + ")");
    auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("Memo"));
    QVERIFY(memo->toPlainText().endsWith("|Połączono się z bazą " + database_));

    // The close box hides the window in the tray; the program goes on.
    window.close();
    QVERIFY(!window.isVisible());
    QVERIFY(agent.scheduler().timer().isActive());
    QCOMPARE(terminations.count(), 0);
    QVERIFY(memo->toPlainText().endsWith("|Rozłączono się z bazą " + database_));

    agent.PrzywrocClick();
    QVERIFY(window.isVisible());
    QVERIFY(!agent.scheduler().timer().isActive());
}

void TestMainWindow::pagesSetWidthAndStopBlinking()
{
    test::AgentDoubles doubles;
    Agent agent({}, doubles.ports(), {folder_.path(), folder_.filePath(QStringLiteral("tarvexio"))},
                QStringLiteral("1.0.0.0"));
    Tfrm_main window(agent);
    agent.ShowWindow();
    agent.WriteLog(QStringLiteral("alarm"), true);
    QVERIFY(agent.model().trayBlinking());

    auto* pages = window.findChild<QTabWidget*>(QStringLiteral("PageControl"));
    pages->setCurrentIndex(2);
    QCOMPARE(agent.model().page(), MainPage::Komunikaty);
    QVERIFY(!agent.model().trayBlinking());
    QCOMPARE(window.width(), 700);
    pages->setCurrentIndex(1);
    QCOMPARE(window.width(), 410);
    pages->setCurrentIndex(0);
    QCOMPARE(window.width(), 640);
}

void TestMainWindow::testButtonOnlyInTestMode_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("visible");
    QTest::newRow("no argument") << QStringList{} << false;
    QTest::newRow("TEST") << QStringList{"TEST"} << true;
}

void TestMainWindow::testButtonOnlyInTestMode()
{
    QFETCH(QStringList, arguments);
    test::AgentDoubles doubles;
    Agent agent(arguments, doubles.ports(),
                {folder_.path(), folder_.filePath(QStringLiteral("tarvexio"))},
                QStringLiteral("1.0.0.0"));
    Tfrm_main window(agent);
    agent.ShowWindow();
    auto* button = window.findChild<QPushButton*>(QStringLiteral("BtnTestPolaczenia"));
    QTEST(button->isVisibleTo(button->parentWidget()), "visible"); // its page may be behind another
}

void TestMainWindow::progressWindowShowsTheRun()
{
    TFmQMXProgress progress;
    progress.Pokaz([&](ExportProgress* shown) {
        QVERIFY(progress.isVisible());
        shown->UstawTekst1(QStringLiteral("Eksport dokumentów do FK"));
        shown->UstawTekst2(QStringLiteral("Sekcja TOW"));
        shown->UstawProgress(40);
        const QList<QLabel*> labels = progress.findChildren<QLabel*>();
        QCOMPARE(labels.size(), 2);
        QCOMPARE(labels[0]->text(), QStringLiteral("Eksport dokumentów do FK"));
        QCOMPARE(labels[1]->text(), QStringLiteral("Sekcja TOW"));
        QCOMPARE(progress.findChild<QProgressBar*>()->value(), 40);
    });
    QVERIFY(!progress.isVisible());
    // An error in the run closes the window and reaches the caller.
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, progress.Pokaz([](ExportProgress*) {
        throw std::runtime_error("zapytanie");
    }));
    QVERIFY(!progress.isVisible());
}

void TestMainWindow::eksportSendsBehindTheTransmissionDialog()
{
    test::FtpServer server;
    QVERIFY(server.started());
    test::AgentDoubles doubles;
    Agent agent({}, doubles.ports(), {folder_.path(), folder_.filePath(QStringLiteral("tarvexio"))},
                QStringLiteral("1.0.0.0"));
    Tfrm_main window(agent);
    FullProgressTransmission transmission(doubles.dialogs, agent.ftpPorts());
    agent.setTransmission(&transmission);
    agent.ShowWindow();
    SettingsControls& controls = agent.model().settings();
    controls.EdKatalogWymiany = folder_.path();
    controls.ed_hostFTP = QStringLiteral("127.0.0.1");
    controls.cb_DomyslnyPortFTP = false;
    controls.ed_portFTP = QString::number(server.port());
    controls.ed_userFTP = QStringLiteral("tarvexio");
    controls.ed_hasloFTP = QStringLiteral("haslo");
    controls.ed_folderFTP = QStringLiteral("./");
    agent.konfig()->SetKodKVR(0, QStringLiteral("K1"));
    agent.SaveConfiguration();
    controls.DateTimePicker1 = controls.DateTimePicker2 = doubles.clock.now().date().addDays(-1);

    QString modalTitle;
    QTimer probe;
    connect(&probe, &QTimer::timeout, [&] {
        if (const QWidget* modal = QApplication::activeModalWidget())
            modalTitle = modal->windowTitle();
    });
    probe.start(10);
    window.findChild<QPushButton*>(QStringLiteral("BtnEksport"))->click();
    QCOMPARE(modalTitle, QStringLiteral("Transmisja pliku"));
    QCOMPARE(QDir(server.root()).entryList(QDir::Files).size(), 1);
    QVERIFY(agent.model().messagePane().back().endsWith(u"|Wysyłanie zakończono pomyślnie."));
    QVERIFY(agent.queue().uploadList.isEmpty());

    // Not while another page is shown.
    const qsizetype lines = agent.model().messagePane().size();
    agent.model().setPage(MainPage::FTP);
    window.findChild<QPushButton*>(QStringLiteral("BtnEksport"))->click();
    QCOMPARE(agent.model().messagePane().size(), lines);
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
