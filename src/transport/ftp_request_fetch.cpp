#include "transport/ftp_send_job.h"

#include "transport/ftp_client.h"
#include "transport/request_file.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

#include <algorithm>

namespace tarvexio {

namespace {

// A listed name that could write outside the local folder, or that Windows cannot save (every
// job would fail on it), is never downloaded.
bool safeLocalName(const QString& name)
{
    if (name.contains(QStringLiteral("..")))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c);
    });
}

} // namespace

void TDmFtp::FetchRequestFiles()
{
    // A send that failed has ended the session; the requests wait for the next job.
    if (!Connected)
        return;
    try {
        const QStringList names = listRequestFolder();
        if (names.isEmpty())
            return;
        result_.RequestsFound = 0;
        for (const QString& name : names)
            result_.RequestsFound += name.contains(RequestFileSuffix) ? 1 : 0;
        FetchedCount = 0;
        for (const QString& name : names) {
            if (name.contains(RequestFileSuffix))
                fetchRequestFile(name);
        }
    } catch (const EAbort&) {
        // A download the user stopped ends the step, and the job has failed.
        result_.Status = TFtpJobResult::Failure;
    } catch (const EFtpError& error) {
        // What the send did stands; the caller says why the requests were not looked at.
        result_.RequestListingFailure = QString::fromUtf8(error.what());
    }
}

// A server may refuse one data connection (a TLS session it will not resume) and take the
// next: the listing is tried once more before the requests wait for another job. libcurl ends
// the control connection with a data connection that failed; the job then logs in again,
// into its folder. The first refusal is the one reported.
QStringList TDmFtp::listRequestFolder()
{
    QStringList names;
    try {
        names = client_->List();
    } catch (const EFtpError& refused) {
        try {
            if (!client_->isConnected()) {
                client_->Connect(login());
                CurrentDir = QStringLiteral("./");
                ChangeRemoteDir(parameters_.ParFolderFTP);
            }
            names = client_->List();
        } catch (const EFtpError&) {
            throw refused;
        }
    }
    result_.RequestsListed = true;
    return names;
}

// One request file that cannot be fetched, saved or deleted stays on the server, named for the
// log; it must not fail the job, or the data file would be sent again and again.
void TDmFtp::fetchRequestFile(const QString& name)
{
    if (!safeLocalName(name)) {
        leftOnServer(name, QStringLiteral("nazwa niedozwolona w nazwie pliku"));
        return;
    }
    const QString local = QDir(parameters_.ParFolderLokalFTP).filePath(name);
    // Lines still waiting in a local file of that name are kept: the new ones join them.
    const QString fetched = local + QStringLiteral(".part");
    addRow(QStringLiteral("Pobieranie pliku: ") + name, Pending);
    try {
        // Merged, the partial copy is gone already; otherwise it must not stay.
        const auto removePartial = qScopeGuard([&fetched] { QFile::remove(fetched); });
        DownloadFile(name, fetched);
        mergeFetchedRequestFile(fetched, local);
    } catch (const EFtpError& error) {
        leftOnServer(name, QString::fromUtf8(error.what()));
        return;
    } catch (const ERequestFile& error) {
        leftOnServer(name, QString::fromUtf8(error.what()));
        return;
    }
    try {
        client_->Delete(name);
        showTransferDone(QStringLiteral("Plik pobrano"));
    } catch (const EFtpError& error) {
        leftOnServer(name, QString::fromUtf8(error.what()));
    }
    ++FetchedCount;
    result_.RequestsFetched = FetchedCount;
}

void TDmFtp::leftOnServer(const QString& name, const QString& reason)
{
    result_.RequestsLeft << QStringLiteral("%1 (%2)").arg(name, reason);
}

void TDmFtp::DownloadFile(const QString& remoteName, const QString& localPath)
{
    const qint64 size = client_->Size(remoteName);
    sizedTransfer(size, [&] {
        client_->setTransferTypeBinary();
        client_->Get(remoteName, localPath, [this](qint64 count) { IndyFtpWork(count); });
    });
}

} // namespace tarvexio
