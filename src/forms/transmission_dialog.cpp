#include "forms/transmission_dialog.h"

#include "platform/dialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QThread>
#include <QToolTip>
#include <QVBoxLayout>

#include <stdexcept>

namespace tarvexio {

namespace {

QFont GreenBold(int pixels)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

void PaintGreen(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, Qt::darkGreen);
    palette.setColor(QPalette::WindowText, Qt::darkGreen);
    widget->setPalette(palette);
}

} // namespace

TFmFullProgress::TFmFullProgress(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , dialogs_(dialogs)
    , link_([this](const QString& text) {
        showView(); // what the job showed before the box, its caption above all
        dialogs_.MsgBox({text, QString()});
    })
    , grid_(new QTableWidget(0, 2, this))
    , panel_(new QLabel(this))
    , bar_(new QProgressBar(this))
    , przerwij_(new QPushButton(QStringLiteral("Przerwij"), this))
{
    setObjectName(QStringLiteral("TFmFullProgress"));
    setWindowTitle(QStringLiteral("Transmisja pliku"));
    setModal(true);
    setFixedSize(460, 257);

    grid_->setObjectName(QStringLiteral("GrMssg"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Operacja"), QStringLiteral("Status")});
    QHeaderView* header = grid_->horizontalHeader();
    header->setFont(GreenBold(12));
    header->setFixedHeight(19);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Fixed);
    header->resizeSection(1, 50);
    grid_->verticalHeader()->hide();
    grid_->setShowGrid(false);
    grid_->setWordWrap(false);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid_->setFont(GreenBold(12));
    PaintGreen(grid_);
    QPalette background = grid_->palette();
    background.setColor(QPalette::Base, QToolTip::palette().color(QPalette::ToolTipBase));
    grid_->setPalette(background);

    auto* panelFrame = new QFrame(this);
    panelFrame->setObjectName(QStringLiteral("PanelProgressu"));
    panelFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panelFrame->setFixedHeight(34);
    panel_->setFont(GreenBold(13));
    PaintGreen(panel_);
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    auto* panelLayout = new QHBoxLayout(panelFrame);
    panelLayout->setContentsMargins(6, 2, 6, 2);
    panelLayout->addWidget(panel_, 1);
    panelLayout->addWidget(bar_, 1);

    przerwij_->setObjectName(QStringLiteral("Przerwij"));
    przerwij_->setAutoDefault(false); // Enter must not stop a transfer
    connect(przerwij_, &QPushButton::clicked, this, &TFmFullProgress::PrzerwijClick);
    auto* ctrlP = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(ctrlP, &QShortcut::activated, this, [this] {
        if (przerwij_->isVisible() && przerwij_->isEnabled())
            PrzerwijClick();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(przerwij_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(grid_, 1);
    layout->addWidget(panelFrame);
    layout->addLayout(buttons);

    timer_.setInterval(DrainIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &TFmFullProgress::TimerTimer);
}

// Only a program that is ending closes the dialog under a running job: the job is asked to
// stop at its next progress event.
TFmFullProgress::~TFmFullProgress()
{
    if (worker_ == nullptr)
        return;
    if (workerAlive())
        link_.RequestEnd();
    worker_->wait();
    delete worker_;
}

bool TFmFullProgress::RunTransmission(Dialogs& dialogs, const TDmFtp::Ports& ports,
                                      const TParametryFtp& parameters, const QString& localPath,
                                      TFtpJobResult* result)
{
    TFmFullProgress dialog(dialogs);
    dialog.result_ = result;
    // The worker has copies of its own: it shares nothing with the caller but the result.
    dialog.worker_ = QThread::create([&dialog, ports, parameters, localPath, result] {
        try {
            TDmFtp::RunSendJob(&dialog.link_, parameters, localPath, *result, ports);
        } catch (...) {
            dialog.exitError_ = std::current_exception();
        }
    });
    dialog.worker_->start();
    dialog.timer_.start();
    dialog.exec();
    QApplication::processEvents();
    return !dialog.aborted_;
}

bool TFmFullProgress::workerAlive() const
{
    return worker_ != nullptr && !worker_->isFinished();
}

void TFmFullProgress::showEvent(QShowEvent* event)
{
    view_.progress = -1;
    showView();
    QDialog::showEvent(event);
}

void TFmFullProgress::closeEvent(QCloseEvent* event)
{
    if (workerAlive())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TFmFullProgress::reject()
{
    if (!workerAlive())
        QDialog::reject();
}

void TFmFullProgress::PrzerwijClick()
{
    link_.RequestEnd();
    przerwij_->setEnabled(false);
    aborted_ = true;
}

void TFmFullProgress::TimerTimer()
{
    timer_.stop();
    // Read before the queue is drained, so that everything the job posted is shown.
    const bool alive = workerAlive();
    if (link_.Drain(view_))
        showView();
    if (alive) {
        timer_.start();
        return;
    }
    if (link_.finalMessage())
        dialogs_.MsgBox({*link_.finalMessage(), QStringLiteral("Błąd")});
    if (result_ != nullptr && result_->Status == TFtpJobResult::Failure && exitError_) {
        try {
            std::rethrow_exception(exitError_);
        } catch (const std::exception& error) {
            dialogs_.ShowExceptionNow(error);
        } catch (...) {
            dialogs_.ShowExceptionNow(std::runtime_error("Nieznany błąd transmisji"));
        }
    }
    accept();
}

void TFmFullProgress::showView()
{
    const int count = int(view_.rows.size());
    grid_->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QString& text = column == 0 ? view_.rows[row].first : view_.rows[row].second;
            QTableWidgetItem* item = grid_->item(row, column);
            if (item == nullptr) {
                item = new QTableWidgetItem;
                if (column == 1)
                    item->setTextAlignment(Qt::AlignCenter);
                grid_->setItem(row, column, item);
            }
            if (item->text() != text)
                item->setText(text);
        }
    }
    if (count > 0)
        grid_->setCurrentCell(count - 1, 0);
    bar_->setVisible(view_.progress >= 0);
    if (view_.progress >= 0)
        bar_->setValue(view_.progress);
    panel_->setText(view_.panelCaption);
    przerwij_->setVisible(view_.abortVisible);
    if (!view_.abortVisible)
        przerwij_->setEnabled(false);
}

} // namespace tarvexio
