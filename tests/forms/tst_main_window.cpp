#include "app/agent.h"
#include "forms/tfrm_main.h"
#include "support/agent_doubles.h"
#include "support/test_database.h"

#include <QPlainTextEdit>
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

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
