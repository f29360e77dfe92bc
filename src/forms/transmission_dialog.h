#pragma once

#include "transport/ftp_send_job.h"
#include "transport/transmission.h"
#include "transport/transmission_link.h"

#include <QDialog>
#include <QTimer>

#include <exception>
#include <memory>

class QThread;

namespace Ui {
class TFmFullProgress;
}

namespace tarvexio {

class Dialogs;

// The modal dialog behind which an interactive send runs: the job works on a thread of its
// own and reports through the link; a 250 ms timer shows its rows, bar and panel, and the
// dialog closes itself once the job has ended.
class TFmFullProgress final : public QDialog {
    Q_OBJECT
public:
    static constexpr int DrainIntervalMs = 250;

    TFmFullProgress(Dialogs& dialogs, QWidget* parent = nullptr);
    ~TFmFullProgress() override;

    // Runs the send job behind the dialog; false when "Przerwij" was pressed.
    static bool RunTransmission(Dialogs& dialogs, const TDmFtp::Ports& ports,
                                const TParametryFtp& parameters, const QString& localPath,
                                TFtpJobResult* result);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    bool workerAlive() const;
    void TimerTimer();
    void przerwijClick();
    void showView();

    Dialogs& dialogs_;
    TransmissionLink link_;
    TransmissionView view_;
    std::unique_ptr<Ui::TFmFullProgress> ui_;
    QTimer timer_;
    QThread* worker_ = nullptr;
    std::exception_ptr exitError_;
    TFtpJobResult* result_ = nullptr;
    bool aborted_ = false;
};

// The transmission dialog as the upload step asks for it.
class FullProgressTransmission final : public Transmission {
public:
    FullProgressTransmission(Dialogs& dialogs, TDmFtp::Ports ports)
        : dialogs_(dialogs)
        , ports_(std::move(ports))
    {}

    bool RunTransmission(const TParametryFtp& parameters, const QString& localPath,
                         TFtpJobResult* result) override
    {
        return TFmFullProgress::RunTransmission(dialogs_, ports_, parameters, localPath, result);
    }

private:
    Dialogs& dialogs_;
    TDmFtp::Ports ports_;
};

} // namespace tarvexio
