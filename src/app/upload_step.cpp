#include "app/upload_step.h"

#include "config/konfig_eksportu.h"
#include "model/event_log.h"
#include "model/upload_queue.h"
#include "model/window_model.h"
#include "platform/dialogs.h"
#include "platform/stop_request.h"
#include "transport/transmission.h"

#include <QDir>
#include <QFileInfo>

namespace tarvexio {

namespace {

QString OutcomeMessage(const TFtpJobResult& result, const QString& fileName)
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

void UploadStep::SendOneFile()
{
    const QString& file = c_.queue.currentFile;
    TKonfigEksportu* record = c_.konfig();
    if (record)
        record->ftp.ParFolderLokalFTP = c_.model.settings().EdKatalogWymiany;
    result_ = TFtpJobResult{};
    try {
        if (record) {
            const TParametryFtp parameters = record->ftp;
            if (c_.model.flags().unattended || transmission_ == nullptr)
                TDmFtp::RunSendJob(nullptr, parameters, file, result_, c_.ftp);
            else
                transmission_->RunTransmission(parameters, file, &result_);
        }
    } catch (...) {
        result_.Status = TFtpJobResult::Failure;
    }
    c_.queue.runState = UploadQueue::Sending;
    if (result_.Status == TFtpJobResult::Success)
        c_.queue.runState = UploadQueue::Written;

    const bool alert = c_.model.flags().unattended && result_.Status != TFtpJobResult::Success;
    c_.log.WriteLog(OutcomeMessage(result_, QFileInfo(file).fileName()), alert);
    if (result_.Status != TFtpJobResult::Success && !result_.FailureReason.isEmpty())
        c_.log.WriteLog(QStringLiteral("Przyczyna: ") + result_.FailureReason, alert);
    if (result_.RequestsFound > 0)
        c_.log.WriteLog(QStringLiteral("Pobrano %1 z %2 plików z brakami")
                            .arg(result_.RequestsFetched)
                            .arg(result_.RequestsFound),
                        alert);
    if (!result_.RequestsLeft.isEmpty())
        c_.log.WriteLog(QStringLiteral("Pliki z brakami pozostawiono na serwerze: %1")
                            .arg(result_.RequestsLeft.join(QStringLiteral(", "))),
                        true);
    if (result_.StaleTemporaryRemoved > 0)
        c_.log.WriteLog(QStringLiteral("Usunięto z serwera pozostawione pliki tymczasowe: %1")
                            .arg(result_.StaleTemporaryRemoved));
}

bool UploadStep::SendWaitingFiles()
{
    QStringList& files = c_.queue.uploadList;
    qsizetype i = files.size() - 1;
    // A process that is ending sends nothing more: the files stay in the exchange directory.
    while (!files.isEmpty() && i >= 0 && !StopRequested() && !c_.ending()) {
        c_.queue.currentFile = files[i];
        // Moved away by hand (perhaps sent that way): it can never go, so it must not wait.
        if (!QFileInfo::exists(files[i])) {
            c_.log.WriteLog(QStringLiteral("Plik %1 nie istnieje; usunięto go z listy plików do "
                                           "wysłania")
                                .arg(QDir::toNativeSeparators(files[i])),
                            true);
            files.removeAt(i--);
            continue;
        }
        SendOneFile();
        if (c_.queue.runState == UploadQueue::Written) {
            files.removeAt(i);
            i = files.size() - 1;
        } else {
            --i;
        }
    }
    // Paths left over mean the day has not gone out, also when the loop was cut short.
    if (!files.isEmpty())
        c_.queue.runState = UploadQueue::Sending;
    return files.isEmpty();
}

void UploadStep::BtnTestPolaczeniaClick()
{
    if (TKonfigEksportu* record = c_.konfig()) {
        record->ftp.ParFolderLokalFTP = c_.model.settings().EdKatalogWymiany;
        const TParametryFtp parameters = record->ftp;
        try {
            TDmFtp::RunConnectionTest(nullptr, parameters, result_, c_.ftp);
        } catch (const std::exception& error) {
            c_.log.WriteLog(QStringLiteral("UWAGA! ") + ExceptionText(error));
            result_.Status = TFtpJobResult::Failure;
        } catch (...) {
            c_.log.WriteLog(QStringLiteral("UWAGA! Blad podczas testu polaczenia"));
            result_.Status = TFtpJobResult::Failure;
        }
    } else {
        // The FTP settings come with the first database session; there is nothing to test.
        c_.log.WriteLog(QStringLiteral("UWAGA! Ustawienia FTP nie są jeszcze wczytane: brak "
                                       "połączenia z bazą"));
        result_.Status = TFtpJobResult::Failure;
    }
    c_.dialogs.MsgBox({result_.Status == TFtpJobResult::Success
                           ? QStringLiteral("Test połączenia przebiegł pomyślnie")
                           : QStringLiteral("Test połączenia nie powiódł się"),
                       QStringLiteral("Informacja"), MessageButtons::Ok, MessageIcon::Information});
}

QString UploadStep::WaitingFileNotice(const QString& fileName, int failedAttempts)
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

void UploadStep::ShowWaitingFileNotice(int failedAttempts)
{
    if (failedAttempts == 0)
        return;
    c_.dialogs.MsgBox(
        {WaitingFileNotice(QFileInfo(c_.queue.currentFile).fileName(), failedAttempts),
         QStringLiteral("Informacja"), MessageButtons::Ok, MessageIcon::Information});
}

} // namespace tarvexio
