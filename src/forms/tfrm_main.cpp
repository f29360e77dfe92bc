#include "forms/tfrm_main.h"

#include "app/agent.h"
#include "ui_tfrm_main.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QSystemTrayIcon>

namespace tarvexio {

namespace {

int PageIndex(MainPage page)
{
    return static_cast<int>(page);
}

int PageWidth(MainPage page)
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

} // namespace

Tfrm_main::Tfrm_main(Agent& agent, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , agent_(agent)
    , ui_(std::make_unique<Ui::Tfrm_main>())
{
    ui_->setupUi(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    ui_->Memo->setMaximumBlockCount(WindowModel::MaxPaneLines);
    ui_->Memo->setPlainText(agent_.model().messagePane().join(u'\n'));
    createTray();

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
    createButtonBar();
    syncFromModel();
}

void Tfrm_main::createButtonBar()
{
    connect(ui_->BtnEksport, &QPushButton::clicked, this, [this] { agent_.EksportClick(); });
    connect(ui_->BtnKonfig, &QPushButton::clicked, this, [this] { agent_.SaveConfiguration(); });
    connect(ui_->BtnWyjscie, &QPushButton::clicked, this, &QWidget::close);
    // F2 is the page's own action: the export on "Eksport", the save on "FTP".
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, [this] {
        if (agent_.model().page() == MainPage::FTP)
            agent_.SaveConfiguration();
        else
            agent_.EksportClick();
    });
    auto* altF2 = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F2), this);
    connect(altF2, &QShortcut::activated, this, [this] {
        if (agent_.model().page() == MainPage::Eksport && !agent_.model().flags().tray)
            agent_.SaveConfiguration();
    });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

Tfrm_main::~Tfrm_main() = default;

void Tfrm_main::createTray()
{
    trayMenu_ = new QMenu(this);
    komunikaty_ = trayMenu_->addAction(QStringLiteral("Komunikaty"));
    przywroc_ = trayMenu_->addAction(QStringLiteral("Przywróć"));
    trayMenu_->addSeparator();
    zakoncz_ = trayMenu_->addAction(QStringLiteral("Zakończ"));
    connect(komunikaty_, &QAction::triggered, this, [this] { agent_.KomunikatyClick(); });
    connect(przywroc_, &QAction::triggered, this, [this] { agent_.PrzywrocClick(); });
    connect(zakoncz_, &QAction::triggered, this, [this] { agent_.ZakocznczClick(); });

    tray_ = new QSystemTrayIcon(style()->standardIcon(QStyle::SP_DriveNetIcon), this);
    tray_->setToolTip(QStringLiteral("Tarvexio"));
    tray_->setContextMenu(trayMenu_);
}

void Tfrm_main::syncFromModel()
{
    const WindowModel& model = agent_.model();
    setWindowTitle(model.caption());
    ui_->BtnTestPolaczenia->setVisible(model.testButtonVisible());
    ui_->PageControl->setCurrentIndex(PageIndex(model.page()));
    resize(PageWidth(model.page()), height());
    setCursor(model.busy() ? Qt::WaitCursor : Qt::ArrowCursor);
    komunikaty_->setEnabled(model.trayCommandEnabled(TrayCommand::Komunikaty));
    przywroc_->setEnabled(model.trayCommandEnabled(TrayCommand::Przywroc));
    zakoncz_->setEnabled(model.trayCommandEnabled(TrayCommand::Zakoncz));
    if (tray_->isVisible() != model.trayIconShown())
        tray_->setVisible(model.trayIconShown());
    if (isVisible() != model.windowVisible())
        setVisible(model.windowVisible());
}

void Tfrm_main::appendPaneLine(const QString& line)
{
    ui_->Memo->appendPlainText(line);
}

void Tfrm_main::closeEvent(QCloseEvent* event)
{
    if (agent_.FormCloseQuery()) {
        event->accept();
        agent_.Terminate();
    } else {
        event->ignore();
    }
}

} // namespace tarvexio
