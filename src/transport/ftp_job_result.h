#pragma once

#include <QString>
#include <QStringList>

namespace tarvexio {

// What one FTP job leaves for its caller: the request files found and fetched, and the status.
struct TFtpJobResult {
    enum : qint32 { Success = 0, Failure = -1, StoppedByUser = 100, FolderUnreachable = -100 };

    qint32 RequestsFound = 0;
    qint32 RequestsFetched = 0;
    qint32 Status = Failure;
    // Request files found but left on the server, each "name (why)": a name that could not
    // be a file here, or a fetch, save or deletion that failed. They do not fail the job.
    QStringList RequestsLeft;
    // The request files were looked for: the folder's listing went.
    bool RequestsListed = false;
    // Why the listing for request files failed (the server's reply), also after one more try
    // on a fresh data connection; empty when it went or was not tried.
    QString RequestListingFailure;
    // The size the server gives for the delivered file's final name; -1 when it gives none.
    qint64 DeliveredSize = -1;
    // This agent's temporary files of cut-short uploads, removed before the upload.
    qint32 StaleTemporaryRemoved = 0;
    // The server refused the login (530): every other file of the attempt would be refused too.
    bool LoginRefused = false;
    // What failed first (a refused command, a certificate, a lost connection), for the log.
    QString FailureReason;
    // The connection test's listing of the login folder, for an operator who asks.
    QStringList Listing;
};

} // namespace tarvexio
