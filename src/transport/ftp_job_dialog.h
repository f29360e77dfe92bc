#pragma once

#include <QString>

namespace tarvexio {

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
    virtual void setPanelCaption(const QString& caption) = 0;
    virtual void hideAbortButton() = 0;
    // A message box with an empty caption, shown by the dialog's own thread in its turn; the
    // job does not wait for it.
    virtual void MsgBox(const QString& text) = 0;
};

} // namespace tarvexio
