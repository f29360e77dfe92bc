#include "app/agent.h"
#include "config/configuration_store.h"
#include "config/konfig_eksportu.h"
#include "config/parameter_lines.h"
#include "config/parameter_list.h"
#include "config/password_coding.h"
#include "forms/ted_parametry_skl_mag.h"
#include "forms/tfm_full_progress.h"
#include "forms/tfm_qmx_progress.h"
#include "forms/tfrm_dir_box.h"
#include "forms/tfrm_main.h"
#include "support/agent_doubles.h"
#include "support/ftp_server.h"
#include "support/test_database.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace tarvexio;

namespace {

// An agent started the interactive way on a database of two shops, with its window; the
// desktop has a notification area unless the test says otherwise.
struct Harness {
    explicit Harness(const QString& folder, const QStringList& arguments = {},
                     bool notificationArea = true)
        : agent(arguments, doubles.ports(), {folder, folder + QStringLiteral("/tarvexio")},
                QStringLiteral("1.0.0.0"))
        , window(agent, notificationArea)
        , terminations(&agent, &Agent::terminateRequested)
    {
        agent.ShowWindow();
        window.activateWindow(); // its shortcuts need it active
        active = QTest::qWaitForWindowActive(&window);
    }
    template <typename T> T* control(const QString& name) const
    {
        return window.findChild<T*>(name);
    }
    // The value the record holds for a parameter, as the stores write it.
    QString stored(const QString& parameter) const
    {
        const QStringList lines = WriteParameterList(*agent.konfig());
        for (int i = 0; i < lines.size(); ++i) {
            if (ParameterName(lines, i) == parameter)
                return ParameterValue(lines, i);
        }
        return QStringLiteral("<none>");
    }

    test::AgentDoubles doubles;
    Agent agent;
    Tfrm_main window;
    QSignalSpy terminations;
    bool active = false;
};

QImage IconImage(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage();
}

// Typing, Polish letters included (QTest::keyClicks knows ASCII only).
void Type(QWidget* widget, const QString& text)
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
    void zakonczAnsweredNoChangesNothing();
    void blinksUntilKomunikaty();
    void pagesSetWidth();
    void everyControlRoundTrips_data();
    void everyControlRoundTrips();
    void portRule_data();
    void portRule();
    void f2OnTheFtpPageSavesAndExportsNothing();
    void testButtonOnlyInTestMode_data();
    void testButtonOnlyInTestMode();
    void codeEditorKeepsWhatWasAccepted();
    void directoryChooser();
    void progressWindowShowsTheRun();
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
    database_ = folder_->filePath(QStringLiteral("qmx.db"));
    test::CreateSqliteDatabase(
        database_, {{1, QStringLiteral("Sklep Łódź")}, {2, QStringLiteral("Sklep Kraków")}});
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
    QCOMPARE(h.window.size(), QSize(640, 505));
    auto* memo = h.control<QPlainTextEdit>(QStringLiteral("Memo"));
    QVERIFY(memo->toPlainText().endsWith("|Połączono się z bazą " + database_));

    // The close box hides the window; the program goes on and the scheduler starts.
    h.window.close();
    QCOMPARE(h.window.isVisible() && !h.window.isMinimized(), false);
    QCOMPARE(h.window.isMinimized(), !notificationArea);
    QVERIFY(h.agent.scheduler().timer().isActive());
    QCOMPARE(h.terminations.count(), 0);
    QVERIFY(h.window.trayMenu()->actions().at(1)->isEnabled()); // "Przywróć"

    h.window.trayMenu()->actions().at(1)->trigger();
    QVERIFY(h.window.isVisible() && !h.window.isMinimized());
    QVERIFY(!h.agent.scheduler().timer().isActive());
}

void TestMainWindow::zakonczAnsweredNoChangesNothing()
{
    Harness h(folder_->path());
    h.window.close();
    h.doubles.dialogs.answer = MessageAnswer::No;
    QAction* zakoncz = h.window.trayMenu()->actions().at(3);
    QCOMPARE(zakoncz->text(), QStringLiteral("Zakończ"));
    zakoncz->trigger();
    QCOMPARE(h.doubles.dialogs.boxes.back().text, "Czy rzeczywiście zamknąć program?");
    QCOMPARE(h.terminations.count(), 0);
    QVERIFY(h.agent.scheduler().timer().isActive());
    QVERIFY(h.window.trayIcon()->isVisible());
}

void TestMainWindow::blinksUntilKomunikaty()
{
    Harness h(folder_->path());
    const QImage normal = IconImage(h.window.trayIcon()->icon());
    h.agent.WriteLog(QStringLiteral("alarm"), true);
    QTRY_VERIFY_WITH_TIMEOUT(IconImage(h.window.trayIcon()->icon()) != normal, 2500);
    QTRY_COMPARE_WITH_TIMEOUT(IconImage(h.window.trayIcon()->icon()), normal, 2500);
    // "Przywróć" leaves it blinking; "Komunikaty" stops it.
    h.agent.PrzywrocClick();
    QVERIFY(h.agent.model().trayBlinking());
    h.window.trayMenu()->actions().at(0)->trigger();
    QVERIFY(!h.agent.model().trayBlinking());
    QCOMPARE(IconImage(h.window.trayIcon()->icon()), normal);
    QCOMPARE(h.control<QTabWidget>(QStringLiteral("PageControl"))->currentIndex(), 2);
}

void TestMainWindow::pagesSetWidth()
{
    Harness h(folder_->path());
    h.agent.WriteLog(QStringLiteral("alarm"), true);
    auto* pages = h.control<QTabWidget>(QStringLiteral("PageControl"));
    for (const auto& [index, width] : {std::pair{2, 700}, {1, 410}, {0, 640}}) {
        pages->setCurrentIndex(index);
        QCOMPARE(h.window.size(), QSize(width, 505));
    }
    QVERIFY(!h.agent.model().trayBlinking()); // the "Komunikaty" page was opened
}

void TestMainWindow::everyControlRoundTrips_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("before"); // boxes clicked first
    QTest::addColumn<QString>("input");      // text typed, number, date, or "click"
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("stored");
    const auto row = [](const char* control, QStringList before, const QString& input,
                        const char* parameter, const QString& stored) {
        QTest::newRow(control) << control << before << input << parameter << stored;
    };
    row("EdKatalogWymiany", {}, "/srv/wymiana łódź", "ParEksportDir", "/srv/wymiana łódź");
    row("EdSerwis_IT", {}, "IT-7", "ParSerwis_IT", "IT-7");
    row("CSGodzEdit", {}, "6", "ParGodz", "6");
    row("CSMinEdit", {}, "45", "ParMin", "45");
    const char* const consent[][2] = {{"CBCenySprzedazy", "ParCenySp"},
                                      {"CBIloscWMag", "ParIlwMag"},
                                      {"CBWartWMag", "ParWartwMag"},
                                      {"CBDzWartZakwCenZak", "ParDzWartZakwCenZak"},
                                      {"CBDzWartSprzwCenSprz", "ParDzWartSprzwCenSprz"},
                                      {"CBDzLiczbaPar", "ParDzLPar"},
                                      {"CBSrLiczbaPLUnaPar", "ParSrLPLUnaPar"},
                                      {"CBSrWartPar", "ParSrWartPar"},
                                      {"CBNIPKontr", "ParNIPKontrPar"}};
    for (const auto& [box, parameter] : consent)
        row(box, {}, "click", parameter, "0");
    row("CBDzWartSprzwCenZak", {}, "click", "ParDzWartSprzwCenZak", "1");
    row("DataOstatniegoEksportu", {}, "2026-11-30", "ParDataOstEksp",
        QString::number(DayNumber(QDate(2026, 11, 30))));
    row("CBAutoStart", {}, "click", "ParAutoStart", "1");
    row("CBZapisKonfig", {}, "1", "ParZapisKonfig", "1");
    row("CBKonfigZPliku", {}, "click", "ParKonfigZPliku", "1");
    row("ed_hostFTP", {}, "ftp.example.test", "ParSerwerFTP", "ftp.example.test");
    row("ed_userFTP", {}, "O'Brien", "ParUserFTP", "O'Brien");
    row("ed_hasloFTP", {}, "tajne€", "ParHasloFTP", KodowanieHasla(QStringLiteral("tajne€")));
    row("ed_folderFTP", {}, "przychodzące", "ParFolderFTP", "przychodzące");
    row("ed_portFTP", {"cb_DomyslnyPortFTP"}, "2121", "ParPortFTP", "2121");
    row("cb_DomyslnyPortFTP", {}, "click", "ParDomyslnyPortFTP", "0");
    row("CbPlikPBK", {}, "click", "ParCzyPlikPbk", "1");
    row("EdPlikPBK", {"CbPlikPBK"}, "/etc/ppp/biuro.pbk", "ParNazwaPlikuPbk", "/etc/ppp/biuro.pbk");
    row("cb_PbkCzyModem", {}, "click", "ParPbkCzyModem", "1");
    row("Cb_PbkEntry", {"cb_PbkCzyModem"}, "1", "ParPbkEntry", "Modem GSM");
    row("ed_UzytkownikPbk", {"cb_PbkCzyModem"}, "internet", "ParPbkUser", "internet");
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
    h.doubles.dialUp.entries = QStringList{"VPN biuro", "Modem GSM"};
    for (const QString& box : before)
        h.control<QCheckBox>(box)->click();
    QWidget* widget = h.control<QWidget>(control);
    QVERIFY2(widget, qPrintable(control));
    QVERIFY(widget->isEnabled() || control == u"DataOstatniegoEksportu");
    const auto read = [&]() -> QString {
        if (auto* box = qobject_cast<QCheckBox*>(widget))
            return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            return edit->text();
        if (auto* spin = qobject_cast<QSpinBox*>(widget))
            return QString::number(spin->value());
        if (auto* date = qobject_cast<QDateEdit*>(widget))
            return date->date().toString(Qt::ISODate);
        return qobject_cast<QComboBox*>(widget)->currentText();
    };
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        box->click();
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->selectAll();
        Type(edit, input);
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        spin->setValue(input.toInt());
    } else if (auto* date = qobject_cast<QDateEdit*>(widget)) {
        date->setDate(QDate::fromString(input, Qt::ISODate));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setFocus();
        for (int i = combo->currentIndex(); i < input.toInt(); ++i)
            QTest::keyClick(combo, Qt::Key_Down);
    }
    const QString shown = read();

    // Into the record and the stores; then back from the table into the control.
    h.agent.SaveConfiguration();
    QTEST(h.stored(parameter), "stored");
    h.agent.configurationStore()->LoadFromTable();
    QCOMPARE(read(), shown);
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
    h.agent.SaveConfiguration();
    QTEST(h.stored(QStringLiteral("ParPortFTP")), "stored");
}

void TestMainWindow::f2OnTheFtpPageSavesAndExportsNothing()
{
    Harness h(folder_->path());
    QVERIFY(h.active);
    h.agent.konfig()->SetKodKVR(0, QStringLiteral("K1"));
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
    Harness h(folder_->path(), arguments);
    auto* button = h.control<QPushButton>(QStringLiteral("BtnTestPolaczenia"));
    QTEST(button->isVisible(), "visible");
}

void TestMainWindow::codeEditorKeepsWhatWasAccepted()
{
    Harness h(folder_->path());
    TKonfigEksportu& record = *h.agent.konfig();
    {
        // A code typed, the cursor moved on, then Esc: the code stays in the record.
        TEdParametrySklMag editor(record);
        editor.show();
        editor.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        auto* grid = editor.findChild<QTableWidget*>(QStringLiteral("GridParametrowSekcji"));
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->item(0, 0)->text(), record.ShopListA()[0].description);
        QCOMPARE(grid->currentColumn(), 1);
        grid->editItem(grid->item(0, 1));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("K1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(&editor, Qt::Key_Escape);
        QCOMPARE(editor.result(), int(QDialog::Rejected));
        QCOMPARE(record.KodKVR(0), QStringLiteral("K1"));
    }
    {
        // F2 while a cell is being edited keeps what was typed; the stores trim it.
        TEdParametrySklMag editor(record);
        editor.show();
        editor.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        auto* grid = editor.findChild<QTableWidget*>(QStringLiteral("GridParametrowSekcji"));
        grid->setCurrentCell(1, 0); // the name column is never the cursor's
        QCOMPARE(grid->currentColumn(), 1);
        grid->editItem(grid->currentItem());
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" K2 "));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(record.KodKVR(1), QStringLiteral(" K2 "));
    }
    h.agent.SaveConfiguration();
    h.agent.configurationStore()->LoadFromTable();
    QCOMPARE(record.KodKVR(1), QStringLiteral("K2"));
}

void TestMainWindow::directoryChooser()
{
    test::RecordingDialogs dialogs;
    TFrmDirBox box(dialogs);
    box.setPath(folder_->path());
    box.show();
    auto* name = box.findChild<QLineEdit*>(QStringLiteral("EdPodFolder"));
    auto* create = box.findChild<QPushButton*>(QStringLiteral("BtnPodFolder"));
    QVERIFY(!create->isEnabled());
    QTest::keyClicks(name, QStringLiteral("nowy"));
    QVERIFY(create->isEnabled());
    create->click();
    QVERIFY(QFileInfo(folder_->filePath(QStringLiteral("nowy"))).isDir());
    QVERIFY(name->text().isEmpty() && !create->isEnabled());
    box.findChild<QPushButton*>(QStringLiteral("BtnOK"))->click();
    QCOMPARE(box.result(), int(QDialog::Accepted));
    QCOMPARE(QDir::fromNativeSeparators(box.directory()),
             folder_->filePath(QStringLiteral("nowy")));
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
    Harness h(folder_->path());
    FullProgressTransmission transmission(h.doubles.dialogs, h.agent.ftpPorts());
    h.agent.setTransmission(&transmission);
    SettingsControls& controls = h.agent.model().settings();
    controls.EdKatalogWymiany = folder_->path();
    controls.ed_hostFTP = QStringLiteral("127.0.0.1");
    controls.cb_DomyslnyPortFTP = false;
    controls.ed_portFTP = QString::number(server.port());
    controls.ed_userFTP = QStringLiteral("tarvexio");
    controls.ed_hasloFTP = QStringLiteral("haslo");
    controls.ed_folderFTP = QStringLiteral("./");
    h.agent.konfig()->SetKodKVR(0, QStringLiteral("K1"));
    h.agent.SaveConfiguration();
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
    QVERIFY(h.agent.queue().uploadList.isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
