#pragma once

#include "transport/ftp_job_dialog.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace tarvexio {

// One event of a job, as its thread posts it for the dialog.
struct TFtpThreadMessage {
    qint32 Kind = 0;
    QString Text;
    QString StatusText;
    QDateTime Time; // when it was posted
};

// The only queue between the job's thread and the dialog: the job puts, the dialog's timer
// takes, oldest first.
class TMQueue {
public:
    void Put(std::unique_ptr<TFtpThreadMessage> message);
    // The oldest message, or none when the queue is empty.
    std::unique_ptr<TFtpThreadMessage> GetAny();

private:
    std::mutex mutex_;
    std::deque<std::unique_ptr<TFtpThreadMessage>> messages_;
};

// What the transmission dialog shows, apart from its widgets.
struct TransmissionView {
    QList<QPair<QString, QString>> rows; // (operation, status), in the order added
    int progress = -1;                   // the bar's position; -1 while it is hidden
    QString panelCaption;
    bool abortVisible = true;
};

// The dialog as a job sees it, and the dialog's own side of it. Everything the job asks for
// travels through one queue, so it takes effect on the dialog's thread in the order asked.
class TransmissionLink final : public FtpJobDialog {
public:
    // Kinds of our own for the bar, the panel, the button and a message box, beside the job's
    // three.
    enum InternalKind : qint32 {
        MsgSetProgress = 201,
        MsgPanelCaption = 202,
        MsgHideAbort = 203,
        MsgShowBox = 204,
    };

    // showBox shows a message box; Drain calls it, on the dialog's thread, when the box's
    // turn comes, with the view as it stands at that point.
    explicit TransmissionLink(std::function<void(const QString& text)> showBox);

    // The job's side, from its own thread.
    void QueueMessage(const QString& text, const QString& status, MessageKind kind) override;
    void SetProgress(int percent) override;
    bool ShouldEnd() const override { return shouldEnd_.load(); }
    void setPanelCaption(const QString& caption) override;
    void hideAbortButton() override;
    // The job goes on; the box comes up in its turn, after what the job posted before it.
    void MsgBox(const QString& text) override { put(MsgShowBox, text); }

    // The dialog's side. "Przerwij": the job sees it at its next progress event.
    void requestEnd() { shouldEnd_.store(true); }
    // Applies every waiting message to the view; true when anything was applied.
    bool drain(TransmissionView& view);
    // The job's last final text; read only once its thread has ended.
    const std::optional<QString>& finalMessage() const { return finalMessage_; }

private:
    void put(qint32 kind, const QString& text, const QString& status = QString());

    TMQueue queue_;
    std::atomic<bool> shouldEnd_{false};
    std::optional<QString> finalMessage_;
    std::function<void(const QString&)> showBox_;
};

} // namespace tarvexio
