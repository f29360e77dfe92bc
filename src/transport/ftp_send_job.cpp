#include "transport/ftp_send_job.h"

#include "platform/clock.h"
#include "transport/dial_up_step.h"
#include "transport/ftp_client.h"
#include "transport/request_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>

namespace tarvexio {

TDmFtp::TDmFtp(FtpJobDialog* dialog, const TParametryFtp& parameters, TFtpJobResult& result,
               const Ports& ports)
    : dialog_(dialog)
    , parameters_(parameters)
    , result_(result)
    , clock_(ports.clock)
    , dialUp_(ports.newDialUp())
    , client_(ports.newClient())
{
    result_.Status = TFtpJobResult::Failure;
}

TDmFtp::~TDmFtp() = default;

bool TDmFtp::RunSendJob(FtpJobDialog* dialog, const TParametryFtp& parameters,
                        const QString& localPath, TFtpJobResult& result, const Ports& ports)
{
    auto job = std::unique_ptr<TDmFtp>(new TDmFtp(dialog, parameters, result, ports));
    job->localPath_ = localPath;
    bool succeeded = false;
    try {
        job->SendFile();
        job->FetchRequestFiles();
        succeeded = result.Status == TFtpJobResult::Success;
    } catch (const std::exception& error) {
        // Both steps catch what the client raises; anything else still ends the job in order,
        // and its cause goes to the log.
        job->noteFailure(error);
        ports.clock.pause(PauseAfterJobMs);
    }
    job->FinishSession();
    job.reset();
    ports.clock.pause(PauseAfterJobMs);
    return succeeded;
}

bool TDmFtp::RunConnectionTest(FtpJobDialog* dialog, const TParametryFtp& parameters,
                               TFtpJobResult& result, const Ports& ports)
{
    auto job = std::unique_ptr<TDmFtp>(new TDmFtp(dialog, parameters, result, ports));
    bool enteringFolder = false;
    try {
        job->connectServer();
        result.Listing = job->client_->List();
        enteringFolder = true;
        job->ChangeRemoteDir(parameters.ParFolderFTP);
        result.Status = TFtpJobResult::Success;
        job->FinishSession();
    } catch (const std::exception& error) {
        job->noteFailure(error);
        if (enteringFolder) {
            job->ReportError(QStringLiteral("Błąd zmiany katalogu ") + parameters.ParFolderFTP);
            result.Status = TFtpJobResult::FolderUnreachable;
        } else {
            // A listing that fails ends the test at once, a pause sooner than a failed login.
            const bool listingFailed = job->Connected;
            job->dropConnection();
            if (listingFailed)
                ports.clock.pause(PauseAfterJobMs);
        }
    }
    const bool succeeded = result.Status == TFtpJobResult::Success;
    job.reset();
    ports.clock.pause(PauseAfterJobMs);
    return succeeded;
}

void TDmFtp::connectServer()
{
    addRow(QStringLiteral("Łączenie z internetem"), Pending);
    if (!dialUpDone_) {
        if (!dialUp_->DialUp(parameters_, dialog_))
            throw EFtpError("połączenie z Internetem przez modem nie powiodło się");
        dialUpDone_ = true;
    }
    setStatus(Ok);
    addRow(QStringLiteral("Łączenie z ") + parameters_.ParSerwerFTP, Pending);
    Connected = false;
    // The client raises unless it has logged in, so the host row never shows "Błąd !!!".
    try {
        client_->Connect(login());
    } catch (const EFtpError& error) {
        static const QRegularExpression refused(QStringLiteral("\\b530\\b"));
        result_.LoginRefused = refused.match(QString::fromUtf8(error.what())).hasMatch();
        throw;
    }
    Connected = true;
    setStatus(Ok);
}

FtpLogin TDmFtp::login() const
{
    FtpLogin login;
    login.setServer(parameters_.ParSerwerFTP);
    login.port = quint16(parameters_.ParPortFTP & 0xFFFF);
    login.user = parameters_.ParUserFTP;
    login.password = parameters_.ParHasloFTP;
    login.passive = parameters_.ParTrybPasywnyFTP != 0;
    return login;
}

void TDmFtp::noteFailure(const std::exception& error)
{
    // A stop the user asked for needs no cause.
    if (result_.FailureReason.isEmpty() && result_.Status != TFtpJobResult::StoppedByUser)
        result_.FailureReason = QString::fromUtf8(error.what());
}

void TDmFtp::dropConnection()
{
    if (Connected)
        client_->Disconnect();
    Connected = false;
    dialUp_->HangUpIfDialled();
}

void TDmFtp::ChangeRemoteDir(const QString& folder)
{
    if (CurrentDir == folder)
        return;
    if (CurrentDir != u"./") {
        client_->ChangeDir(QStringLiteral("./"));
        CurrentDir = QStringLiteral("./");
    }
    client_->ChangeDir(folder);
    CurrentDir = folder;
}

void TDmFtp::SendFile()
{
    const QString fileName = QFileInfo(localPath_).fileName();
    const QString temporary = fileName + QStringLiteral(".tmp");
    const QString sendFailed = QStringLiteral("Błąd wysyłania pliku ") + localPath_;
    // The final texts for a failure of the step under way, in the order shown; none while
    // connecting, whose failure only leaves its row at "...".
    QStringList failureTexts;
    try {
        connectServer();
        failureTexts = {QStringLiteral("Błąd zmiany lub tworzenia katalogu ") +
                        parameters_.ParFolderFTP};
        ChangeRemoteDir(parameters_.ParFolderFTP);
        removeStaleTemporaryFiles();
        addRow(QStringLiteral("Wysyłanie pliku: ") + fileName, Pending);
        failureTexts = {sendFailed};
        putTemporaryFile(temporary);
        failureTexts = {QStringLiteral("Nie powiodła się zmiana nazwy pliku: ") + temporary,
                        sendFailed};
        client_->Rename(temporary, fileName);
        failureTexts = {sendFailed};
        checkDelivered(fileName);
        showTransferDone(QStringLiteral("Plik wysłano"));
        result_.Status = TFtpJobResult::Success;
    } catch (const std::exception& error) {
        noteFailure(error);
        if (failureTexts.isEmpty()) {
            dropConnection();
            return;
        }
        for (qsizetype i = 0; i + 1 < failureTexts.size(); ++i)
            finalError(failureTexts[i]);
        ReportError(failureTexts.back());
    }
}

// A server may answer the rename and still hold less than was sent (another uploader, a lost
// file): the final name must hold the whole file. Where SIZE is refused, the name must be
// listed.
void TDmFtp::checkDelivered(const QString& fileName)
{
    const qint64 local = QFileInfo(localPath_).size();
    const qint64 remote = client_->Size(fileName);
    if (remote < 0) {
        if (!client_->List().contains(fileName))
            throw EFtpError(QStringLiteral("po zmianie nazwy pliku %1 nie ma go na serwerze")
                                .arg(fileName)
                                .toStdString());
        return;
    }
    if (remote != local)
        throw EFtpError(QStringLiteral("plik %1 ma na serwerze %2 B zamiast %3 B")
                            .arg(fileName)
                            .arg(remote)
                            .arg(local)
                            .toStdString());
    result_.DeliveredSize = remote;
}

void TDmFtp::putTemporaryFile(const QString& temporary)
{
    const QFileInfo file(localPath_);
    if (!file.exists())
        throw EFtpError(QStringLiteral("brak pliku %1").arg(localPath_).toStdString());
    sizedTransfer(file.size(), [&] {
        client_->setTransferTypeBinary();
        client_->Put(localPath_, temporary, [this](qint64 count) { IndyFtpWork(count); });
    });
}

// Uploads cut short (a kill, a stop, a dropped line) leave "<data file>.tmp" behind, and the
// next attempt sends under a new name: this shop's leftovers go before it sends.
void TDmFtp::removeStaleTemporaryFiles()
{
    const QString fileName = QFileInfo(localPath_).fileName();
    const QRegularExpression dataFile(QStringLiteral("^(PSHD_.*_HD0001_)\\d{8}_\\d{6}\\.DAT$"));
    const QRegularExpressionMatch match = dataFile.match(fileName);
    if (!match.hasMatch())
        return;
    const QRegularExpression stale(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(match.captured(1)) +
                                            QStringLiteral("\\d{8}_\\d{6}\\.DAT\\.tmp")));
    try {
        for (const QString& name : client_->List()) {
            if (stale.match(name).hasMatch()) {
                client_->Delete(name);
                ++result_.StaleTemporaryRemoved;
            }
        }
    } catch (const EFtpError&) {
        // Only tidying: some servers answer the listing of an empty folder with 550, and the
        // upload that follows tells whether the connection is good.
    }
}

void TDmFtp::sizedTransfer(qint64 expectedSize, const std::function<void()>& transfer)
{
    ExpectedSize = static_cast<qint32>(expectedSize);
    Transferring = true;
    const auto done = qScopeGuard([this] {
        Transferring = false;
        ExpectedSize = 0;
    });
    transfer();
}

void TDmFtp::showTransferDone(const QString& panelCaption)
{
    if (dialog_)
        dialog_->SetProgress(-1);
    setStatus(Ok);
    caption(panelCaption);
}

void TDmFtp::IndyFtpWork(qint64 count)
{
    if (!Transferring || ExpectedSize <= 0)
        return;
    if (dialog_ && dialog_->ShouldEnd())
        AbortByUser();
    double percent = double(count) * 100.0 / ExpectedSize;
    if (percent > 100.0)
        percent = 100.0;
    const int whole = static_cast<int>(percent);
    if (dialog_) {
        dialog_->QueueMessage(QString(), QString::number(whole) + QStringLiteral(" %"),
                              FtpJobDialog::MsgSetStatus);
        dialog_->SetProgress(whole);
    }
}

void TDmFtp::AbortByUser()
{
    result_.Status = TFtpJobResult::StoppedByUser;
    FinishSession();
    throw EAbort{};
}

void TDmFtp::ReportError(const QString& text)
{
    if (result_.Status == TFtpJobResult::StoppedByUser) {
        finalError(QStringLiteral("Operacja przerwana przez użytkownika"));
        return;
    }
    finalError(text);
    result_.Status = TFtpJobResult::Failure;
    FinishSession();
}

void TDmFtp::FinishSession()
{
    if (dialog_) {
        dialog_->hideAbortButton();
        if (result_.Status == TFtpJobResult::Failure)
            caption(QStringLiteral("Operacja nie powiodła się"));
        else if (result_.Status == TFtpJobResult::StoppedByUser)
            caption(QStringLiteral("Operacja przerwana przez użytkownika"));
    }
    if (Connected) {
        client_->Disconnect();
        Connected = false;
        dialUp_->HangUpIfDialled();
    } else {
        clock_.pause(PauseWhenNotConnectedMs);
    }
}

void TDmFtp::addRow(const QString& operation, const QString& status)
{
    if (dialog_)
        dialog_->QueueMessage(operation, status, FtpJobDialog::MsgAddRow);
}

void TDmFtp::setStatus(const QString& status)
{
    if (dialog_)
        dialog_->QueueMessage(QString(), status, FtpJobDialog::MsgSetStatus);
}

void TDmFtp::finalError(const QString& text)
{
    if (dialog_)
        dialog_->QueueMessage(text, QString(), FtpJobDialog::MsgFinalError);
}

void TDmFtp::caption(const QString& text)
{
    if (dialog_)
        dialog_->setPanelCaption(text);
}

} // namespace tarvexio
