#pragma once

#include "transport/dial_up_step.h"
#include "transport/ftp_job.h"

#include <QStringList>

namespace tarvexio::test {

// The transmission dialog as a record of what a job showed; rows read "operation|status".
class RecordingFtpDialog final : public FtpJobDialog {
public:
    void QueueMessage(const QString& text, const QString& status, MessageKind kind) override
    {
        if (kind == MsgAddRow)
            rows << text + u'|' + status;
        else if (kind == MsgSetStatus && !rows.isEmpty())
            rows.last() = rows.last().section(u'|', 0, 0) + u'|' + status;
        else if (kind == MsgFinalError)
            finalText = text;
        if (kind == MsgSetStatus && status.endsWith(u" %"))
            percents << status;
    }
    void SetProgress(int) override {}
    bool ShouldEnd() const override { return stopAtRow >= 0 && rows.size() >= stopAtRow; }
    void SetPanelCaption(const QString& text) override { captions << text; }
    void HideAbortButton() override { abortHidden = true; }
    void MsgBox(const QString& text) override { boxes << text; }

    QStringList rows;
    QStringList percents;
    QStringList captions;
    QStringList boxes;
    QString finalText;
    int stopAtRow = -1; // "Przerwij" is pressed once this many rows show
    bool abortHidden = false;
};

// A machine that needs no remote-access connection.
class NoDialUp final : public DialUpStep {
public:
    bool DialUp(const TParametryFtp&, FtpJobDialog*) override { return true; }
    void HangUpIfDialled() override {}
};

} // namespace tarvexio::test
