#include "forms/main_window.h"

#include "app/agent.h"
#include "ui_main_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSystemTrayIcon>

namespace tarvexio {

namespace {

int pageWidth(MainPage page)
{
    switch (page) {
    case MainPage::Komunikaty:
        return 700;
    case MainPage::FTP:
        return 410;
    case MainPage::Eksport:
        break;
    }
    return 640;
}

// Each control of the settings pages and the field of the window model it shows.
struct TextControl {
    const char* name;
    QString SettingsControls::*field;
};
const TextControl TextControls[] = {
    {"EdKatalogWymiany", &SettingsControls::EdKatalogWymiany},
    {"EdSerwis_IT", &SettingsControls::EdSerwis_IT},
    {"ed_hostFTP", &SettingsControls::ed_hostFTP},
    {"ed_userFTP", &SettingsControls::ed_userFTP},
    {"ed_hasloFTP", &SettingsControls::ed_hasloFTP},
    {"ed_folderFTP", &SettingsControls::ed_folderFTP},
    {"ed_portFTP", &SettingsControls::ed_portFTP},
    {"EdPlikPBK", &SettingsControls::EdPlikPBK},
    {"ed_UzytkownikPbk", &SettingsControls::ed_UzytkownikPbk},
    {"ed_HasloPbk", &SettingsControls::ed_HasloPbk},
};

struct CheckControl {
    const char* name;
    bool SettingsControls::*field;
    void (SettingsPage::*click)(); // the box's own handler, if it has one
};
const CheckControl CheckControls[] = {
    {"CBAutoStart", &SettingsControls::CBAutoStart, &SettingsPage::CBAutoStartClick},
    {"CBKonfigZPliku", &SettingsControls::CBKonfigZPliku, nullptr},
    {"cb_DomyslnyPortFTP", &SettingsControls::cb_DomyslnyPortFTP,
     &SettingsPage::cb_DomyslnyPortFTPClick},
    {"CbPlikPBK", &SettingsControls::CbPlikPBK, &SettingsPage::CbPlikPBKClick},
    {"cb_PbkCzyModem", &SettingsControls::cb_PbkCzyModem, &SettingsPage::cb_PbkCzyModemClick},
};

// The consent boxes in the order of SettingsControls::consent.
const char* const ConsentControls[TKonfigEksportu::ConsentCount] = {
    "CBCenySprzedazy",      "CBIloscWMag",         "CBWartWMag",    "CBDzWartZakwCenZak",
    "CBDzWartSprzwCenSprz", "CBDzWartSprzwCenZak", "CBDzLiczbaPar", "CBSrLiczbaPLUnaPar",
    "CBSrWartPar",          "CBNIPKontr"};

struct DateControl {
    const char* name;
    QDate SettingsControls::*field;
};
const DateControl DateControls[] = {
    {"DateTimePicker1", &SettingsControls::DateTimePicker1},
    {"DateTimePicker2", &SettingsControls::DateTimePicker2},
    {"DataOstatniegoEksportu", &SettingsControls::DataOstatniegoEksportu},
};

struct SpinControl {
    const char* name;
    int SettingsControls::*field;
};
const SpinControl SpinControls[] = {
    {"CSGodzEdit", &SettingsControls::CSGodzEdit},
    {"CSMinEdit", &SettingsControls::CSMinEdit},
};

// Which model flag enables which controls.
struct EnablingRule {
    bool SettingsControls::*flag;
    std::initializer_list<const char*> controls;
};
const EnablingRule EnablingRules[] = {
    {&SettingsControls::portEnabled, {"ed_portFTP", "ud_portFTP"}},
    {&SettingsControls::CbPlikPBK, {"EdPlikPBK", "SbPlikPBK"}},
    {&SettingsControls::cb_PbkCzyModem,
     {"Cb_PbkEntry", "ed_UzytkownikPbk", "ed_HasloPbk", "LblUzytkownikPbk", "LblHasloPbk"}},
    {&SettingsControls::DataOstatniegoEksportuEnabled, {"DataOstatniegoEksportu"}},
};

QIcon blankIcon()
{
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

} // namespace

Tfrm_main::Tfrm_main(Agent& agent, QWidget* parent)
    : Tfrm_main(agent, QSystemTrayIcon::isSystemTrayAvailable(), parent)
{}

Tfrm_main::Tfrm_main(Agent& agent, bool notificationArea, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , agent_(agent)
    , ui_(std::make_unique<Ui::Tfrm_main>())
    , notificationArea_(notificationArea)
    , icon_(QStringLiteral(":/tarvexio/tarvexio16.png"))
    , blank_(blankIcon())
{
    ui_->setupUi(this);
    ui_->ud_portFTP->setBuddy(ui_->ed_portFTP);
    setFixedSize(pageWidth(MainPage::Eksport), ClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    ui_->Memo->setMaximumBlockCount(WindowModel::MaxPaneLines);
    ui_->Memo->setPlainText(agent_.model().messagePane().join(u'\n'));
    createTray();
    TrayTimer.setInterval(BlinkIntervalMs);
    connect(&TrayTimer, &QTimer::timeout, this, &Tfrm_main::TrayTimerTimer);

    WindowModel& model = agent_.model();
    connect(&model, &WindowModel::changed, this, &Tfrm_main::syncFromModel);
    connect(&model, &WindowModel::paneLineAppended, this, &Tfrm_main::appendPaneLine);
    connect(&model, &WindowModel::raiseRequested, this, [this] {
        raise();
        activateWindow();
    });
    connect(ui_->PageControl, &QTabWidget::currentChanged, this, [this](int index) {
        agent_.model().setPage(static_cast<MainPage>(index));
        if (agent_.model().page() == MainPage::Komunikaty)
            agent_.model().setTrayBlinking(false);
    });
    createButtonBars();
    bindSettings();
    if (!notificationArea_)
        agent_.log().WriteLog(QStringLiteral("Brak obszaru powiadomień: okno programu pozostaje "
                                             "zminimalizowane zamiast ukryte"));
    syncFromModel();
}

Tfrm_main::~Tfrm_main() = default;

void Tfrm_main::createButtonBars()
{
    const auto onExportPage = [this] {
        return agent_.model().page() == MainPage::Eksport && !agent_.model().flags().tray;
    };
    connect(ui_->BtnEksport, &QPushButton::clicked, this,
            [this] { agent_.manualExport().eksportClick(); });
    connect(ui_->BtnKonfig, &QPushButton::clicked, this, [this, onExportPage] {
        if (onExportPage())
            agent_.settings().saveConfiguration();
    });
    connect(ui_->BtnWyjscie, &QPushButton::clicked, this, [this, onExportPage] {
        if (onExportPage())
            close();
    });
    connect(ui_->BtnZapisz, &QPushButton::clicked, this, [this] {
        if (agent_.model().page() == MainPage::FTP)
            agent_.settings().saveConfiguration();
    });
    // F2 is each page's own: the export on "Eksport", the save on "FTP".
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [this] {
        if (agent_.model().page() == MainPage::FTP)
            agent_.settings().saveConfiguration();
        else
            agent_.manualExport().eksportClick();
    });
    auto* altF2 = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F2), this);
    connect(altF2, &QShortcut::activated, ui_->BtnKonfig, &QPushButton::click);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, ui_->BtnWyjscie, &QPushButton::click);

    connect(ui_->BtnUstawDayeOstEksp, &QPushButton::clicked, this,
            [this] { agent_.settings().BtnUstawDayeOstEkspClick(); });
    connect(ui_->BtnTestPolaczenia, &QPushButton::clicked, this,
            [this] { agent_.upload().BtnTestPolaczeniaClick(); });
    SettingsPage& page = agent_.settingsPage();
    connect(ui_->SBKatalogEksportu, &QToolButton::clicked, this,
            [&page] { page.SBKatalogEksportuClick(); });
    connect(ui_->SBKodyKVR, &QToolButton::clicked, this, [&page] { page.SBKodyKVRClick(); });
    connect(ui_->SbPlikPBK, &QToolButton::clicked, this, [&page] { page.SbPlikPBKClick(); });
}

// What the user changes goes into the model at once; the boxes' handlers follow.
void Tfrm_main::bindSettings()
{
    SettingsControls& s = agent_.model().settings();
    SettingsPage& page = agent_.settingsPage();
    for (const TextControl& control : TextControls) {
        auto* edit = findChild<QLineEdit*>(QLatin1StringView(control.name));
        connect(edit, &QLineEdit::textEdited, this, [&s, &page, control](const QString& text) {
            s.*control.field = text;
            if (control.field == &SettingsControls::ed_portFTP)
                page.ed_portFTPChange();
        });
    }
    connect(ui_->ud_portFTP, &UpDownButtons::stepped, this, [&s, &page, this] {
        s.ed_portFTP = ui_->ed_portFTP->text();
        page.ed_portFTPChange();
    });
    for (const CheckControl& control : CheckControls) {
        auto* box = findChild<QCheckBox*>(QLatin1StringView(control.name));
        connect(box, &QCheckBox::clicked, this, [&s, &page, control](bool checked) {
            s.*control.field = checked;
            if (control.click != nullptr)
                (page.*control.click)();
        });
    }
    for (int i = 0; i < TKonfigEksportu::ConsentCount; ++i) {
        auto* box = findChild<QCheckBox*>(QLatin1StringView(ConsentControls[i]));
        connect(box, &QCheckBox::clicked, this, [&s, i](bool checked) { s.consent[i] = checked; });
    }
    for (const DateControl& control : DateControls) {
        auto* picker = findChild<QDateEdit*>(QLatin1StringView(control.name));
        connect(picker, &QDateEdit::dateChanged, this,
                [&s, control](const QDate& day) { s.*control.field = day; });
    }
    for (const SpinControl& control : SpinControls) {
        auto* spin = findChild<QSpinBox*>(QLatin1StringView(control.name));
        connect(spin, &QSpinBox::valueChanged, this,
                [&s, control](int value) { s.*control.field = value; });
    }
    connect(ui_->CBZapisKonfig, &QComboBox::activated, this,
            [&s](int index) { s.CBZapisKonfig = index; });
    connect(ui_->Cb_PbkEntry, &QComboBox::activated, this,
            [&s, this](int index) { s.Cb_PbkEntry = ui_->Cb_PbkEntry->itemText(index); });
}

void Tfrm_main::syncSettingsFromModel()
{
    const SettingsControls& s = agent_.model().settings();
    for (const TextControl& control : TextControls) {
        auto* edit = findChild<QLineEdit*>(QLatin1StringView(control.name));
        if (edit->text() != s.*control.field) {
            const QSignalBlocker quiet(edit);
            edit->setText(s.*control.field);
        }
    }
    for (const CheckControl& control : CheckControls)
        findChild<QCheckBox*>(QLatin1StringView(control.name))->setChecked(s.*control.field);
    for (int i = 0; i < TKonfigEksportu::ConsentCount; ++i)
        findChild<QCheckBox*>(QLatin1StringView(ConsentControls[i]))->setChecked(s.consent[i]);
    for (const DateControl& control : DateControls) {
        auto* picker = findChild<QDateEdit*>(QLatin1StringView(control.name));
        const QSignalBlocker quiet(picker);
        if ((s.*control.field).isValid())
            picker->setDate(s.*control.field);
    }
    for (const SpinControl& control : SpinControls) {
        auto* spin = findChild<QSpinBox*>(QLatin1StringView(control.name));
        const QSignalBlocker quiet(spin);
        spin->setValue(s.*control.field);
    }
    ui_->CBZapisKonfig->setCurrentIndex(s.CBZapisKonfig);
    if (ui_->Cb_PbkEntry->count() != s.pbkEntries.size() ||
        ui_->Cb_PbkEntry->findText(s.Cb_PbkEntry) != ui_->Cb_PbkEntry->currentIndex()) {
        ui_->Cb_PbkEntry->clear();
        ui_->Cb_PbkEntry->addItems(s.pbkEntries);
        ui_->Cb_PbkEntry->setCurrentIndex(int(s.pbkEntries.indexOf(s.Cb_PbkEntry)));
    }
    for (const EnablingRule& rule : EnablingRules) {
        for (const char* name : rule.controls)
            findChild<QWidget*>(QLatin1StringView(name))->setEnabled(s.*rule.flag);
    }
    ui_->BtnUstawDayeOstEksp->setText(s.BtnUstawDayeOstEksp);
    ui_->CBAutoStart->setEnabled(agent_.model().autoStartBoxEnabled());
}

void Tfrm_main::createTray()
{
    trayMenu_ = new QMenu(this);
    komunikaty_ = trayMenu_->addAction(QStringLiteral("Komunikaty"));
    przywroc_ = trayMenu_->addAction(QStringLiteral("Przywróć"));
    trayMenu_->addSeparator();
    zakoncz_ = trayMenu_->addAction(QStringLiteral("Zakończ"));
    connect(komunikaty_, &QAction::triggered, this, [this] { agent_.window().KomunikatyClick(); });
    connect(przywroc_, &QAction::triggered, this, [this] { agent_.window().PrzywrocClick(); });
    connect(zakoncz_, &QAction::triggered, this, [this] { agent_.window().ZakocznczClick(); });

    tray_ = new QSystemTrayIcon(icon_, this);
    tray_->setToolTip(QStringLiteral("Tarvexio"));
    tray_->setContextMenu(trayMenu_);
}

// Every second the icon and a blank take turns.
void Tfrm_main::TrayTimerTimer()
{
    blankShown_ = !blankShown_;
    tray_->setIcon(blankShown_ ? blank_ : icon_);
}

void Tfrm_main::syncFromModel()
{
    const WindowModel& model = agent_.model();
    setWindowTitle(model.caption());
    ui_->BtnTestPolaczenia->setVisible(model.testButtonVisible());
    ui_->PageControl->setCurrentIndex(static_cast<int>(model.page()));
    setFixedSize(pageWidth(model.page()), ClientHeight);
    setCursor(model.busy() ? Qt::WaitCursor : Qt::ArrowCursor);
    komunikaty_->setEnabled(model.trayCommandEnabled(TrayCommand::Komunikaty));
    przywroc_->setEnabled(model.trayCommandEnabled(TrayCommand::Przywroc));
    zakoncz_->setEnabled(model.trayCommandEnabled(TrayCommand::Zakoncz));
    if (tray_->isVisible() != model.trayIconShown())
        tray_->setVisible(model.trayIconShown());
    if (model.trayBlinking() != TrayTimer.isActive()) {
        if (model.trayBlinking()) {
            TrayTimer.start();
        } else {
            TrayTimer.stop();
            blankShown_ = false;
            tray_->setIcon(icon_);
        }
    }
    syncSettingsFromModel();
    if (model.windowVisible()) {
        if (!isVisible() || isMinimized())
            showNormal();
    } else if (notificationArea_) {
        if (isVisible())
            hide();
    } else if (isVisible() && !isMinimized()) {
        showMinimized(); // nowhere to hide: it stays on the task bar
    }
}

void Tfrm_main::appendPaneLine(const QString& line)
{
    ui_->Memo->appendPlainText(line);
}

void Tfrm_main::closeEvent(QCloseEvent* event)
{
    if (agent_.window().FormCloseQuery()) {
        event->accept();
        agent_.window().terminate(QStringLiteral("zamknięto okno programu"));
    } else {
        event->ignore();
    }
}

} // namespace tarvexio
