#include "transport/transmission_link.h"

namespace tarvexio {

void TMQueue::Put(std::unique_ptr<TFtpThreadMessage> message)
{
    const std::lock_guard lock(mutex_);
    messages_.push_back(std::move(message));
}

std::unique_ptr<TFtpThreadMessage> TMQueue::GetAny()
{
    const std::lock_guard lock(mutex_);
    if (messages_.empty())
        return nullptr;
    std::unique_ptr<TFtpThreadMessage> oldest = std::move(messages_.front());
    messages_.pop_front();
    return oldest;
}

TransmissionLink::TransmissionLink(std::function<void(const QString&)> showBox)
    : showBox_(std::move(showBox))
{}

void TransmissionLink::put(qint32 kind, const QString& text, const QString& status)
{
    auto message = std::make_unique<TFtpThreadMessage>();
    message->Kind = kind;
    message->Text = text;
    message->StatusText = status;
    message->Time = QDateTime::currentDateTime();
    queue_.Put(std::move(message));
}

void TransmissionLink::QueueMessage(const QString& text, const QString& status, MessageKind kind)
{
    // Only the job's thread writes it; the dialog reads it after that thread has ended.
    if (kind == MsgFinalError)
        finalMessage_ = text;
    put(kind, text, status);
}

void TransmissionLink::SetProgress(int percent)
{
    put(MsgSetProgress, QString::number(percent));
}

void TransmissionLink::setPanelCaption(const QString& caption)
{
    put(MsgPanelCaption, caption);
}

void TransmissionLink::hideAbortButton()
{
    put(MsgHideAbort, QString());
}

bool TransmissionLink::drain(TransmissionView& view)
{
    bool applied = false;
    while (const std::unique_ptr<TFtpThreadMessage> message = queue_.GetAny()) {
        applied = true;
        switch (message->Kind) {
        case MsgAddRow:
            view.rows.append({message->Text, message->StatusText});
            break;
        case MsgSetStatus:
            if (!view.rows.isEmpty())
                view.rows.last().second = message->StatusText;
            break;
        case MsgSetProgress: {
            // A value outside 0 to 100 hides the bar.
            const int percent = message->Text.toInt();
            view.progress = percent >= 0 && percent <= 100 ? percent : -1;
            break;
        }
        case MsgPanelCaption:
            view.panelCaption = message->Text;
            break;
        case MsgHideAbort:
            view.abortVisible = false;
            break;
        case MsgShowBox:
            showBox_(message->Text);
            break;
        default: // MsgFinalError was taken when posted; other kinds mean nothing here
            break;
        }
    }
    return applied;
}

} // namespace tarvexio
