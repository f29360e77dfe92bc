#include "app/agent.h"
#include "app/configuration_store.h"
#include "config/password_coding.h"
#include "config/settings_record.h"
#include "forms/main_window.h"
#include "forms/transmission_dialog.h"
#include "support/agent_doubles.h"
#include "support/ftp_server.h"
#include "support/test_database.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace tarvexio;

namespace {

// An agent started the interactive way on a database of two shops, with its window; the
// desktop has a notification area unless the test says otherwise.
struct Harness : test::TestAgent {
    explicit Harness(const QString& folder, const QStringList& arguments = {},
                     bool notificationArea = true)
        : TestAgent(folder, QString(), arguments)
        , window(agent, notificationArea)
        , terminations(&agent.window(), &WindowAndTray::terminateRequested)
    {
        agent.window().showWindow();
        window.activateWindow(); // its shortcuts need it active
        active = QTest::qWaitForWindowActive(&window);
    }
    template <typename T> T* control(const QString& name) const
    {
        return window.findChild<T*>(name);
    }
    Tfrm_main window;
    QSignalSpy terminations;
    bool active = false;
};

QImage iconImage(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}

// Typing, Polish letters included (QTest::keyClicks knows ASCII only).
void type(QWidget* widget, const QString& text)
{
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &typed);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void closeHidesThenPrzywrocRestores_data();
    void closeHidesThenPrzywrocRestores();
    void blinksUntilKomunikaty();
    void everyControlRoundTrips_data();
    void everyControlRoundTrips();
    void portRule_data();
    void portRule();
    void f2OnTheFtpPageSavesAndExportsNothing();
    void eksportSendsBehindTheTransmissionDialog();

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QString database_;
};

void TestMainWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Polish));
}

void TestMainWindow::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    database_ =
        test::freshDatabase(QStringLiteral("sqlite"), folder_->filePath("qmx.db"),
                            {"insert into Sklep values (1, 'Sklep Łódź'), (2, 'Sklep Kraków')"});
    qputenv("TARVEXIO_BAZA", database_.toUtf8());
}

void TestMainWindow::closeHidesThenPrzywrocRestores_data()
{
    QTest::addColumn<bool>("notificationArea");
    QTest::newRow("to the tray") << true;
    QTest::newRow("no notification area: minimised") << false;
}

void TestMainWindow::closeHidesThenPrzywrocRestores()
{
    QFETCH(bool, notificationArea);
    Harness h(folder_->path(), {}, notificationArea);
    QVERIFY(h.window.isVisible());
    QCOMPARE(h.window.windowTitle(), "Tarvexio SFTP (" + database_ + ")");
    auto* memo = h.control<QPlainTextEdit>(QStringLiteral("Memo"));
    QVERIFY(memo->toPlainText().endsWith("|Połączono się z bazą " + database_));

    // The close box hides the window and closes the session; the scheduler takes over.
    h.window.close();
    QCOMPARE(h.window.isVisible() && !h.window.isMinimized(), false);
    QCOMPARE(h.window.isMinimized(), !notificationArea);
    QVERIFY(memo->toPlainText().endsWith("|Rozłączono się z bazą " + database_));
    QVERIFY(h.agent.scheduler().isRunning());
    QVERIFY(h.window.trayMenu()->actions().at(1)->isEnabled()); // "Przywróć"

    // "Zakończ" answered "Nie" leaves it running.
    h.doubles.dialogs.answer = MessageAnswer::No;
    h.window.trayMenu()->actions().at(3)->trigger();
    QCOMPARE(h.doubles.dialogs.boxes.back().text, "Czy rzeczywiście zamknąć program?");
    QCOMPARE(h.doubles.dialogs.boxes.back().defaultAnswer, MessageAnswer::No);
    QCOMPARE(h.terminations.count(), 0);
    QVERIFY(h.agent.scheduler().isRunning());

    h.window.trayMenu()->actions().at(1)->trigger();
    QVERIFY(h.window.isVisible() && !h.window.isMinimized());
    QVERIFY(!h.agent.scheduler().isRunning());
    h.doubles.dialogs.answer = MessageAnswer::Yes;
    h.window.trayMenu()->actions().at(3)->trigger();
    QCOMPARE(h.terminations.count(), 1);
}

void TestMainWindow::blinksUntilKomunikaty()
{
    Harness h(folder_->path());
    const QImage normal = iconImage(h.window.trayIcon()->icon());
    h.agent.log().WriteLog(QStringLiteral("alarm"), true);
    QTRY_VERIFY_WITH_TIMEOUT(iconImage(h.window.trayIcon()->icon()) != normal, 2500);
    QTRY_COMPARE_WITH_TIMEOUT(iconImage(h.window.trayIcon()->icon()), normal, 2500);
    // "Przywróć" leaves it blinking; "Komunikaty" stops it.
    h.agent.window().PrzywrocClick();
    QVERIFY(h.agent.model().trayBlinking());
    h.window.trayMenu()->actions().at(0)->trigger();
    QVERIFY(!h.agent.model().trayBlinking());
    QCOMPARE(iconImage(h.window.trayIcon()->icon()), normal);
    QCOMPARE(h.control<QTabWidget>(QStringLiteral("PageControl"))->currentIndex(), 2);
}

void TestMainWindow::everyControlRoundTrips_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("before"); // boxes clicked first
    QTest::addColumn<QString>("input");      // text typed, number, date, or "click"
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("stored");
    const auto row = [](const char* control, const QStringList& before, const QString& input,
                        const char* parameter, const QString& stored) {
        QTest::newRow(control) << control << before << input << parameter << stored;
    };
    // One control of each kind, and those with a rule of their own.
    row("EdKatalogWymiany", {}, "/srv/wymiana łódź", "ParEksportDir", "/srv/wymiana łódź");
    row("CSGodzEdit", {}, "6", "ParGodz", "6");
    row("CBCenySprzedazy", {}, "click", "ParCenySp", "0");
    row("DataOstatniegoEksportu", {}, "2026-11-30", "ParDataOstEksp",
        QString::number(dayNumber(QDate(2026, 11, 30))));
    row("CBZapisKonfig", {}, "1", "ParZapisKonfig", "1");
    row("ed_hasloFTP", {}, "tajne€", "ParHasloFTP", KodowanieHasla(QStringLiteral("tajne€")));
    row("Cb_PbkEntry", {"cb_PbkCzyModem"}, "1", "ParPbkEntry", "Modem GSM");
    row("ed_HasloPbk", {"cb_PbkCzyModem"}, "pin1234", "ParPbkHaslo",
        KodowanieHasla(QStringLiteral("pin1234")));
}

void TestMainWindow::everyControlRoundTrips()
{
    QFETCH(QString, control);
    QFETCH(QStringList, before);
    QFETCH(QString, input);
    QFETCH(QString, parameter);
    Harness h(folder_->path());
    h.doubles.dialUp.phonebook = QStringList{"VPN biuro", "Modem GSM"};
    for (const QString& box : before)
        h.control<QCheckBox>(box)->click();
    QWidget* widget = h.control<QWidget>(control);
    QVERIFY2(widget, qPrintable(control));
    QVERIFY(widget->isEnabled() || control == u"DataOstatniegoEksportu");
    // What a control holds is its user property: checked, text, value, date, current text.
    const QMetaProperty value = widget->metaObject()->userProperty();
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        box->click();
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->selectAll();
        type(edit, input);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setFocus();
        for (int i = combo->currentIndex(); i < input.toInt(); ++i)
            QTest::keyClick(combo, Qt::Key_Down);
    } else {
        QVERIFY(value.write(widget, input)); // a number or an ISO date
    }
    const QVariant shown = value.read(widget);

    // Into the record and the stores; then back from the table into the control.
    h.agent.settings().saveConfiguration();
    QTEST(test::konfigRows(database_).filter(parameter + u'=').value(0).section(u'=', 1), "stored");
    h.agent.settings().store()->loadFromTable();
    QCOMPARE(value.read(widget), shown);
    QVERIFY(h.doubles.dialogs.exceptions.isEmpty());
}

void TestMainWindow::portRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("checkedAgain");
    QTest::addColumn<QString>("stored");
    QTest::newRow("a port of its own") << "2121" << false << "2121";
    QTest::newRow("the default box again") << "2121" << true << "21";
    QTest::newRow("not a number") << "abc" << false << "21";
}

void TestMainWindow::portRule()
{
    QFETCH(QString, typed);
    QFETCH(bool, checkedAgain);
    Harness h(folder_->path());
    auto* box = h.control<QCheckBox>(QStringLiteral("cb_DomyslnyPortFTP"));
    auto* port = h.control<QLineEdit>(QStringLiteral("ed_portFTP"));
    QVERIFY(box->isChecked() && !port->isEnabled());
    QCOMPARE(port->text(), QStringLiteral("21"));
    box->click();
    QVERIFY(port->isEnabled() && h.control<QWidget>(QStringLiteral("ud_portFTP"))->isEnabled());
    port->selectAll();
    QTest::keyClicks(port, typed);
    if (checkedAgain) {
        box->click();
        QCOMPARE(port->text(), QStringLiteral("21"));
        QVERIFY(!port->isEnabled());
    }
    // What the field shows is what the next upload uses, before any save.
    QFETCH(QString, stored);
    QCOMPARE(QString::number(h.agent.settings().record()->ftp.ParPortFTP), stored);
    h.agent.settings().saveConfiguration();
    QCOMPARE(test::konfigRows(database_).filter(u"ParPortFTP=").value(0).section(u'=', 1), stored);
}

void TestMainWindow::f2OnTheFtpPageSavesAndExportsNothing()
{
    Harness h(folder_->path());
    QVERIFY(h.active);
    h.agent.settings().record()->setKodKvr(0, QStringLiteral("K1"));
    h.agent.model().settings().EdKatalogWymiany = folder_->path();
    h.agent.model().settings().DateTimePicker1 = h.doubles.clock.now().date().addDays(-1);
    h.agent.model().settings().DateTimePicker2 = h.doubles.clock.now().date().addDays(-1);
    h.control<QTabWidget>(QStringLiteral("PageControl"))->setCurrentIndex(1);
    QTest::keyClick(&h.window, Qt::Key_F2);
    QVERIFY(QFile::exists(folder_->filePath(QStringLiteral("tarvexio.cfg")))); // saved
    QVERIFY(QDir(folder_->path()).entryList({QStringLiteral("*.DAT")}).isEmpty());
    // On "Eksport" the same key exports.
    h.control<QTabWidget>(QStringLiteral("PageControl"))->setCurrentIndex(0);
    QTest::keyClick(&h.window, Qt::Key_F2);
    QCOMPARE(QDir(folder_->path()).entryList({QStringLiteral("*.DAT")}).size(), 1);
}

void TestMainWindow::eksportSendsBehindTheTransmissionDialog()
{
    test::FtpServer server;
    QVERIFY(server.started());
    Harness h(folder_->path());
    FullProgressTransmission transmission(h.doubles.dialogs, h.agent.ftpPorts());
    h.agent.upload().setTransmission(&transmission);
    SettingsControls& controls = h.agent.model().settings();
    controls.EdKatalogWymiany = folder_->path();
    h.agent.settings().record()->setKodKvr(0, QStringLiteral("K1"));
    h.sendTo(server.port());
    controls.DateTimePicker1 = controls.DateTimePicker2 = h.doubles.clock.now().date().addDays(-1);

    QString modalTitle;
    QTimer probe;
    connect(&probe, &QTimer::timeout, [&] {
        if (const QWidget* modal = QApplication::activeModalWidget())
            modalTitle = modal->windowTitle();
    });
    probe.start(10);
    h.control<QPushButton>(QStringLiteral("BtnEksport"))->click();
    QCOMPARE(modalTitle, QStringLiteral("Transmisja pliku"));
    QCOMPARE(QDir(server.root()).entryList(QDir::Files).size(), 1);
    QVERIFY(h.agent.model().messagePane().back().endsWith(u"|Wysyłanie zakończono pomyślnie."));
    QVERIFY(h.agent.uploadList().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
