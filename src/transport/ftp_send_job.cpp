#include "transport/ftp_send_job.h"

#include "platform/clock.h"
#include "transport/dial_up_step.h"
#include "transport/ftp_client.h"
#include "transport/request_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace tarvexio {

namespace {

// The silent end of a transfer that the user stopped.
struct EAbort {};

const QString Pending = QStringLiteral("...");
const QString Ok = QStringLiteral("OK");

// A listed name that could write outside the local folder, or that Windows cannot save (every
// job would fail on it), is never downloaded.
bool SafeLocalName(const QString& name)
{
    if (name.contains(QStringLiteral("..")))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c);
    });
}

} // namespace

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
    } catch (...) {
        succeeded = false;
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
    try {
        if (job->ConnectServer()) {
            try {
                job->client_->List();
            } catch (...) {
                // A line this test dialled is never left up.
                job->dropConnection();
                throw;
            }
            if (job->ChangeRemoteDir(parameters.ParFolderFTP)) {
                result.Status = TFtpJobResult::Success;
                job->FinishSession();
            } else {
                job->ReportError(QStringLiteral("Błąd zmiany katalogu ") + parameters.ParFolderFTP);
                result.Status = TFtpJobResult::FolderUnreachable;
            }
        }
    } catch (...) {
        ports.clock.pause(PauseAfterJobMs);
    }
    const bool succeeded = result.Status == TFtpJobResult::Success;
    job.reset();
    ports.clock.pause(PauseAfterJobMs);
    return succeeded;
}

bool TDmFtp::ConnectServer()
{
    try {
        addRow(QStringLiteral("Łączenie z internetem"), Pending);
        if (!dialUpDone_) {
            if (!dialUp_->DialUp(parameters_, dialog_))
                throw EFtpError("połączenie z Internetem przez modem nie powiodło się");
            dialUpDone_ = true;
        }
        setStatus(Ok);
        addRow(QStringLiteral("Łączenie z ") + parameters_.ParSerwerFTP, Pending);
        Connected = false;
        FtpLogin login;
        login.setServer(parameters_.ParSerwerFTP);
        login.port = quint16(parameters_.ParPortFTP & 0xFFFF);
        login.user = parameters_.ParUserFTP;
        login.password = parameters_.ParHasloFTP;
        login.passive = parameters_.ParTrybPasywnyFTP != 0;
        // The client raises unless it has logged in, so the host row never shows "Błąd !!!".
        client_->Connect(login);
        Connected = true;
        setStatus(Ok);
        return true;
    } catch (...) {
        noteFailure();
        dropConnection();
        return false;
    }
}

// The first failure of the job, kept for the log: without a dialog nobody else sees it.
void TDmFtp::noteFailure()
{
    if (!result_.FailureReason.isEmpty())
        return;
    try {
        throw;
    } catch (const std::exception& error) {
        result_.FailureReason = QString::fromUtf8(error.what());
    } catch (...) {
    }
}

void TDmFtp::dropConnection()
{
    if (Connected)
        client_->Disconnect();
    Connected = false;
    dialUp_->HangUpIfDialled();
}

bool TDmFtp::ChangeRemoteDir(const QString& folder)
{
    try {
        if (CurrentDir == folder)
            return true;
        if (CurrentDir != u"./") {
            client_->ChangeDir(QStringLiteral("./"));
            CurrentDir = QStringLiteral("./");
        }
        client_->ChangeDir(folder);
        CurrentDir = folder;
        return true;
    } catch (...) {
        noteFailure();
        return false;
    }
}

void TDmFtp::SendFile()
{
    // ConnectServer reports and cleans up its own failures.
    if (!ConnectServer())
        return;
    try {
        if (!ChangeRemoteDir(parameters_.ParFolderFTP)) {
            ReportError(QStringLiteral("Błąd zmiany lub tworzenia katalogu ") +
                        parameters_.ParFolderFTP);
            return;
        }
        RemoveStaleTemporaryFiles();
        addRow(QStringLiteral("Wysyłanie pliku: ") + QFileInfo(localPath_).fileName(), Pending);
        if (!PutFileViaTemp(localPath_)) {
            ReportError(QStringLiteral("Błąd wysyłania pliku ") + localPath_);
            return;
        }
        showTransferDone(QStringLiteral("Plik wysłano"));
        result_.Status = TFtpJobResult::Success;
    } catch (const std::exception& error) {
        finalError(QString::fromUtf8(error.what()));
    } catch (...) {
    }
}

bool TDmFtp::PutFileViaTemp(const QString& localPath)
{
    const QFileInfo file(localPath);
    if (!file.exists())
        return false;
    const QString temporary = file.fileName() + QStringLiteral(".tmp");
    if (!sizedTransfer(file.size(), [&] {
            client_->SetTransferTypeBinary();
            client_->Put(localPath, temporary, [this](qint64 count) { IndyFtpWork(count); });
        }))
        return false;
    return RenameRemoteFile(temporary, file.fileName());
}

bool TDmFtp::RenameRemoteFile(const QString& oldName, const QString& newName)
{
    try {
        client_->Rename(oldName, newName);
        return true;
    } catch (...) {
        noteFailure();
        finalError(QStringLiteral("Nie powiodła się zmiana nazwy pliku: ") + oldName);
        return false;
    }
}

void TDmFtp::FetchRequestFiles()
{
    try {
        const QStringList names = client_->List();
        if (names.isEmpty())
            return;
        const QString pattern = QStringLiteral("_braki.kvr");
        result_.RequestsFound = 0;
        for (const QString& name : names)
            result_.RequestsFound += name.contains(pattern) ? 1 : 0;
        FetchedCount = 0;
        for (const QString& name : names) {
            if (!name.contains(pattern))
                continue;
            FetchRequestFile(name);
            // A download the user stopped ends the step, and the job has failed.
            if (result_.Status == TFtpJobResult::StoppedByUser) {
                result_.Status = TFtpJobResult::Failure;
                return;
            }
        }
    } catch (...) {
    }
}

// One request file that cannot be fetched, saved or deleted stays on the server, named for the
// log; it must not fail the job, or the data file would be sent again and again.
void TDmFtp::FetchRequestFile(const QString& name)
{
    if (!SafeLocalName(name)) {
        leftOnServer(name, QStringLiteral("nazwa niedozwolona w nazwie pliku"));
        return;
    }
    const QString local = QDir(parameters_.ParFolderLokalFTP).filePath(name);
    // Lines still waiting in a local file of that name are kept: the new ones join them.
    const QString fetched = local + QStringLiteral(".part");
    addRow(QStringLiteral("Pobieranie pliku: ") + name, Pending);
    QString reason;
    if (!DownloadFile(name, fetched, reason)) {
        QFile::remove(fetched);
        leftOnServer(name, reason);
        return;
    }
    try {
        MergeFetchedRequestFile(fetched, local);
    } catch (const std::exception& error) {
        QFile::remove(fetched);
        leftOnServer(name, QString::fromUtf8(error.what()));
        return;
    }
    if (DeleteRemoteFile(name, reason))
        showTransferDone(QStringLiteral("Plik pobrano"));
    else
        leftOnServer(name, reason);
    ++FetchedCount;
    result_.RequestsFetched = FetchedCount;
}

void TDmFtp::leftOnServer(const QString& name, const QString& reason)
{
    result_.RequestsLeft << QStringLiteral("%1 (%2)").arg(name, reason);
}

// Uploads cut short (a kill, a stop, a dropped line) leave "<data file>.tmp" behind, and the
// next attempt sends under a new name: this shop's leftovers go before it sends.
void TDmFtp::RemoveStaleTemporaryFiles()
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

bool TDmFtp::DownloadFile(const QString& remoteName, const QString& localPath, QString& reason)
{
    qint64 size = 0;
    try {
        size = client_->Size(remoteName);
    } catch (const std::exception& error) {
        reason = QString::fromUtf8(error.what());
        return false;
    }
    return sizedTransfer(
        size,
        [&] {
            client_->SetTransferTypeBinary();
            client_->Get(remoteName, localPath, [this](qint64 count) { IndyFtpWork(count); });
        },
        &reason);
}

bool TDmFtp::sizedTransfer(qint64 expectedSize, const std::function<void()>& transfer,
                           QString* reason)
{
    ExpectedSize = static_cast<qint32>(expectedSize);
    Transferring = true;
    bool done = true;
    try {
        transfer();
    } catch (const std::exception& error) {
        if (reason)
            *reason = QString::fromUtf8(error.what());
        else
            noteFailure();
        done = false;
    } catch (...) {
        noteFailure();
        done = false;
    }
    Transferring = false;
    ExpectedSize = 0;
    return done;
}

void TDmFtp::showTransferDone(const QString& panelCaption)
{
    if (dialog_)
        dialog_->SetProgress(-1);
    setStatus(Ok);
    caption(panelCaption);
}

bool TDmFtp::DeleteRemoteFile(const QString& name, QString& reason)
{
    try {
        client_->Delete(name);
        return true;
    } catch (const std::exception& error) {
        reason = QString::fromUtf8(error.what());
        return false;
    }
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
        dialog_->HideAbortButton();
        if (result_.Status == TFtpJobResult::Failure)
            caption(QStringLiteral("Operacja nie powiodła się"));
        else if (result_.Status == TFtpJobResult::StoppedByUser)
            caption(QStringLiteral("Operacja przerwana przez użytkownika"));
    }
    if (Connected) {
        try {
            client_->Disconnect();
            Connected = false;
            dialUp_->HangUpIfDialled();
        } catch (const std::exception&) {
        }
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
        dialog_->SetPanelCaption(text);
}

} // namespace tarvexio
