#pragma once

#include <QString>
#include <QStringList>

namespace tarvexio {

// What one FTP job leaves for its caller: three counters the transport does not touch, the
// request files found and fetched, and the status.
struct TFtpJobResult {
    enum : qint32 { Success = 0, Failure = -1, StoppedByUser = 100, FolderUnreachable = -100 };

    qint32 counter1 = 0;
    qint32 counter2 = 0;
    qint32 counter3 = 0;
    qint32 RequestsFound = 0;
    qint32 RequestsFetched = 0;
    qint32 Status = Failure;
    // Request files found but left on the server, each "name (why)": a name that could not
    // be a file here, or a fetch, save or deletion that failed. They do not fail the job.
    QStringList RequestsLeft;
    // This agent's temporary files of cut-short uploads, removed before the upload.
    qint32 StaleTemporaryRemoved = 0;
    // What failed first (a refused command, a certificate, a lost connection), for the log.
    QString FailureReason;
};

// The transmission dialog as a job sees it; every call may come from the job's own thread.
class FtpJobDialog {
public:
    enum MessageKind { MsgFinalError = 1, MsgAddRow = 101, MsgSetStatus = 102 };

    virtual ~FtpJobDialog() = default;
    // MsgAddRow: a row (operation, status); MsgSetStatus: the last row's status;
    // MsgFinalError: the job's final text.
    virtual void QueueMessage(const QString& text, const QString& status, MessageKind kind) = 0;
    virtual void SetProgress(int percent) = 0; // -1 hides the bar
    virtual bool ShouldEnd() const = 0;        // the user pressed "Przerwij"
    virtual void SetPanelCaption(const QString& caption) = 0;
    virtual void HideAbortButton() = 0;
    // A message box with an empty caption, shown by the dialog's own thread; returns once
    // it has been answered.
    virtual void MsgBox(const QString& text) = 0;
};

} // namespace tarvexio
