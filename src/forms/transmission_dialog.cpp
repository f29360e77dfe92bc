#include "forms/transmission_dialog.h"

#include "platform/dialogs.h"
#include "ui_transmission_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QThread>
#include <QToolTip>

#include <stdexcept>

namespace tarvexio {

namespace {

QFont greenBold(int pixels)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

void paintGreen(QWidget* widget)
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
    , ui_(std::make_unique<Ui::TFmFullProgress>())
{
    ui_->setupUi(this);
    // Green bold Arial on the tooltip's yellow, as the dialog has always looked.
    QHeaderView* header = ui_->GrMssg->horizontalHeader();
    header->setFont(greenBold(12));
    header->setFixedHeight(19);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Fixed);
    header->resizeSection(1, 50);
    ui_->GrMssg->setFont(greenBold(12));
    paintGreen(ui_->GrMssg);
    QPalette background = ui_->GrMssg->palette();
    background.setColor(QPalette::Base, QToolTip::palette().color(QPalette::ToolTipBase));
    ui_->GrMssg->setPalette(background);
    ui_->panel->setFont(greenBold(13));
    paintGreen(ui_->panel);

    connect(ui_->Przerwij, &QPushButton::clicked, this, &TFmFullProgress::przerwijClick);
    auto* ctrlP = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(ctrlP, &QShortcut::activated, this, [this] {
        if (ui_->Przerwij->isVisible() && ui_->Przerwij->isEnabled())
            przerwijClick();
    });
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
        link_.requestEnd();
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

void TFmFullProgress::przerwijClick()
{
    link_.requestEnd();
    ui_->Przerwij->setEnabled(false);
    aborted_ = true;
}

void TFmFullProgress::TimerTimer()
{
    timer_.stop();
    // Read before the queue is drained, so that everything the job posted is shown.
    const bool alive = workerAlive();
    if (link_.drain(view_))
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
    ui_->GrMssg->setRowCount(count);
    for (int row = 0; row < count; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QString& text = column == 0 ? view_.rows[row].first : view_.rows[row].second;
            QTableWidgetItem* item = ui_->GrMssg->item(row, column);
            if (item == nullptr) {
                item = new QTableWidgetItem;
                if (column == 1)
                    item->setTextAlignment(Qt::AlignCenter);
                ui_->GrMssg->setItem(row, column, item);
            }
            if (item->text() != text)
                item->setText(text);
        }
    }
    if (count > 0)
        ui_->GrMssg->setCurrentCell(count - 1, 0);
    ui_->bar->setVisible(view_.progress >= 0);
    if (view_.progress >= 0)
        ui_->bar->setValue(view_.progress);
    ui_->panel->setText(view_.panelCaption);
    ui_->Przerwij->setVisible(view_.abortVisible);
    if (!view_.abortVisible)
        ui_->Przerwij->setEnabled(false);
}

} // namespace tarvexio
