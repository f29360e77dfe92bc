#include "forms/export_progress_window.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace tarvexio {

TFmQMXProgress::TFmQMXProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , text1_(new QLabel(this))
    , text2_(new QLabel(this))
    , bar_(new QProgressBar(this))
{
    setWindowTitle(QStringLiteral("Tarvexio"));
    setModal(true);
    bar_->setRange(0, 100);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text1_);
    layout->addWidget(text2_);
    layout->addWidget(bar_);
    setMinimumWidth(420);
}

void TFmQMXProgress::Pokaz(const std::function<void(ExportProgress*)>& work)
{
    text1_->clear();
    text2_->clear();
    bar_->setValue(0);
    show();
    repaintNow();
    struct Hide {
        QDialog* dialog;
        ~Hide() { dialog->hide(); }
    } hide{this};
    work(this);
}

void TFmQMXProgress::UstawTekst1(const QString& text)
{
    text1_->setText(text);
    repaintNow();
}

void TFmQMXProgress::UstawTekst2(const QString& text)
{
    text2_->setText(text);
    repaintNow();
}

void TFmQMXProgress::UstawProgress(int percent)
{
    bar_->setValue(percent);
    repaintNow();
}

// The run works on this thread; let the window paint, but take no input meanwhile.
void TFmQMXProgress::repaintNow()
{
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace tarvexio
