#pragma once

#include "export/export_progress.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace tarvexio {

// The modal window that shows an export run: two lines of text and a percentage.
class TFmQMXProgress final : public QDialog, public ProgressDisplay, public ExportProgress {
    Q_OBJECT
public:
    explicit TFmQMXProgress(QWidget* parent = nullptr);

    void Pokaz(const std::function<void(ExportProgress*)>& work) override;

    void UstawTekst1(const QString& text) override;
    void UstawTekst2(const QString& text) override;
    void UstawProgress(int percent) override;

private:
    void repaintNow();

    QLabel* text1_;
    QLabel* text2_;
    QProgressBar* bar_;
};

} // namespace tarvexio
