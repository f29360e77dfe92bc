#include "app/upload_step.h"

#include "app/delivery_ledger.h"
#include "app/record_source.h"
#include "app/window_and_tray.h"
#include "config/settings_record.h"
#include "model/event_log.h"
#include "model/window_model.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/stop_request.h"
#include "transport/ftp_job_setup.h"
#include "transport/transmission.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarvexio {

namespace {

QString outcomeMessage(const TFtpJobResult& result, const QString& fileName)
{
    switch (result.Status) {
    case TFtpJobResult::Success:
        if (result.RequestsFound != 0 && result.RequestsFound == result.RequestsFetched)
            return QStringLiteral("Wysyłanie i odbieranie zakończono pomyślnie.");
        return QStringLiteral("Wysyłanie zakończono pomyślnie.");
    case TFtpJobResult::StoppedByUser:
        return QStringLiteral("Przerwano na życzenie użytkownika.");
    case TFtpJobResult::FolderUnreachable:
        return QStringLiteral("Błąd zmiany katalogu.");
    default:
        return QStringLiteral("Wystąpiły błędy podczas wysyłania pliku %1.").arg(fileName);
    }
}

} // namespace

UploadStep::UploadStep(Context context)
    : c_(std::move(context))
{}

bool UploadStep::SendOneFile(const QString& file)
{
    currentFile_ = file;
    const TKonfigEksportu* record = c_.record.record();
    TFtpJobResult result;
    c_.ledger.attemptStarting(file);
    try {
        if (record) {
            const TParametryFtp parameters =
                ftpJobParameters(*record, c_.model.settings().EdKatalogWymiany);
            if (c_.model.flags().unattended || transmission_ == nullptr)
                TDmFtp::RunSendJob(nullptr, parameters, file, result, c_.ftp);
            else
                transmission_->RunTransmission(parameters, file, &result);
        }
    } catch (const std::exception& error) {
        // Whatever went wrong, the file has not gone; the log says why.
        result.Status = TFtpJobResult::Failure;
        if (result.FailureReason.isEmpty())
            result.FailureReason = exceptionText(error);
    }
    logOutcome(result, file);
    loginRefused_ = result.LoginRefused;
    const bool delivered = result.Status == TFtpJobResult::Success;
    c_.ledger.attemptEnded(file, delivered, result.FailureReason, result.DeliveredSize);
    return delivered;
}

void UploadStep::logOutcome(const TFtpJobResult& result, const QString& file)
{
    const bool alert = c_.model.flags().unattended && result.Status != TFtpJobResult::Success;
    c_.log.WriteLog(outcomeMessage(result, QFileInfo(file).fileName()), alert);
    if (result.Status != TFtpJobResult::Success && !result.FailureReason.isEmpty())
        c_.log.WriteLog(QStringLiteral("Przyczyna: ") + result.FailureReason, alert);
    if (result.RequestsFound > 0)
        c_.log.WriteLog(QStringLiteral("Pobrano %1 z %2 plików z brakami")
                            .arg(result.RequestsFetched)
                            .arg(result.RequestsFound),
                        alert);
    if (!result.RequestsLeft.isEmpty())
        c_.log.WriteLog(QStringLiteral("Pliki z brakami pozostawiono na serwerze: %1")
                            .arg(result.RequestsLeft.join(QStringLiteral(", "))),
                        true, LineMeaning::Warning);
    noteRequestLookup(result);
    if (result.StaleTemporaryRemoved > 0)
        c_.log.WriteLog(QStringLiteral("Usunięto z serwera pozostawione pliki tymczasowe: %1")
                            .arg(result.StaleTemporaryRemoved));
}

// The service's requests wait unread while the listing fails: said every time, alerting once it
// keeps failing.
void UploadStep::noteRequestLookup(const TFtpJobResult& result)
{
    if (result.RequestsListed) {
        failedRequestLookups_ = 0;
        requestsLastLooked_ = c_.ftp.clock.now();
        return;
    }
    if (result.RequestListingFailure.isEmpty())
        return;
    ++failedRequestLookups_;
    c_.log.WriteLog(QStringLiteral("Nie udało się sprawdzić plików z brakami na serwerze: ") +
                        result.RequestListingFailure,
                    failedRequestLookups_ >= RequestLookupAlertAfter);
}

bool UploadStep::sendByHand(const QString& file, QString* reason)
{
    const TKonfigEksportu* record = c_.record.record();
    if (record == nullptr) {
        *reason = QStringLiteral("the agent has not read its settings yet");
        return false;
    }
    // As an unattended send: no dialog, whatever the window does.
    currentFile_ = file;
    c_.ledger.attemptStarting(file);
    TFtpJobResult result;
    TDmFtp::RunSendJob(nullptr, ftpJobParameters(*record, c_.model.settings().EdKatalogWymiany),
                       file, result, c_.ftp);
    logOutcome(result, file);
    if (result.Status != TFtpJobResult::Success) {
        *reason = result.FailureReason;
        return false;
    }
    c_.ledger.sentByHand(file, result.DeliveredSize);
    c_.log.WriteLog(QStringLiteral("Plik %1 wysłano ręcznie (tarvexioctl send)")
                        .arg(QDir::toNativeSeparators(file)));
    return true;
}

bool UploadStep::SendWaitingFiles()
{
    QStringList files = c_.ledger.waiting();
    qsizetype i = files.size() - 1;
    // A process that is ending sends nothing more: the files stay in the exchange directory.
    while (!files.isEmpty() && i >= 0 && !stopRequested() && !c_.window.terminating()) {
        // Moved away by hand: it can never go, so its shop's day is made again.
        if (!QFileInfo::exists(files[i])) {
            c_.log.WriteLog(QStringLiteral("Plik %1 zniknął z katalogu wymiany przed wysłaniem; "
                                           "plik ze sklepu za ten dzień zostanie wygenerowany "
                                           "ponownie")
                                .arg(QDir::toNativeSeparators(files[i])),
                            true);
            c_.ledger.vanished(files[i]);
            files.removeAt(i--);
            continue;
        }
        if (SendOneFile(files[i])) {
            files.removeAt(i);
            i = files.size() - 1;
        } else if (loginRefused_) {
            c_.log.WriteLog(QStringLiteral("Serwer FTP odmówił logowania: pozostałych plików (%1) "
                                           "nie wysyłano w tej próbie")
                                .arg(files.size() - 1),
                            false, LineMeaning::Warning);
            break;
        } else {
            --i;
        }
    }
    return files.isEmpty();
}

void UploadStep::BtnTestPolaczeniaClick()
{
    TFtpJobResult result;
    if (const TKonfigEksportu* record = c_.record.record()) {
        const TParametryFtp parameters =
            ftpJobParameters(*record, c_.model.settings().EdKatalogWymiany);
        try {
            TDmFtp::RunConnectionTest(nullptr, parameters, result, c_.ftp);
        } catch (const std::exception& error) {
            c_.log.WriteLog(QStringLiteral("UWAGA! ") + exceptionText(error));
            result.Status = TFtpJobResult::Failure;
        }
    } else {
        // The FTP settings come with the first database session; there is nothing to test.
        c_.log.WriteLog(QStringLiteral("UWAGA! Ustawienia FTP nie są jeszcze wczytane: brak "
                                       "połączenia z bazą"));
        result.Status = TFtpJobResult::Failure;
    }
    c_.dialogs.MsgBox({result.Status == TFtpJobResult::Success
                           ? QStringLiteral("Test połączenia przebiegł pomyślnie")
                           : QStringLiteral("Test połączenia nie powiódł się"),
                       QStringLiteral("Informacja"), MessageButtons::Ok, MessageIcon::Information});
}

QString UploadStep::waitingFileNotice(const QString& fileName, int failedAttempts)
{
    if (failedAttempts == 1)
        return QStringLiteral("Plik %1 czeka na wysłanie. Pierwsza próba była nieudana")
            .arg(fileName);
    if (failedAttempts < 5)
        return QStringLiteral("Plik %1 czeka na wysłanie. %2 próby były nieudane")
            .arg(fileName, QString::number(failedAttempts));
    return QStringLiteral("Plik %1 czeka na wysłanie. %2 prób było nieudanych")
        .arg(fileName, QString::number(failedAttempts));
}

void UploadStep::showWaitingFileNotice(int failedAttempts)
{
    if (failedAttempts == 0)
        return;
    c_.dialogs.MsgBox({waitingFileNotice(QFileInfo(currentFile_).fileName(), failedAttempts),
                       QStringLiteral("Informacja"), MessageButtons::Ok, MessageIcon::Information});
}

} // namespace tarvexio
