#pragma once

#include "support/fake_clock.h"
#include "support/files.h"
#include "transport/curl_ftp_client.h"
#include "transport/dial_up_step.h"
#include "transport/ftp_job_result.h"
#include "transport/ftp_send_job.h"

#include <QStringList>
#include <QTemporaryDir>

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
            finalTexts << text;
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
    QStringList finalTexts; // in the order posted; the dialog shows the last
    int stopAtRow = -1;     // "Przerwij" is pressed once this many rows show
    bool abortHidden = false;
};

// A machine that needs no remote-access connection.
class NoDialUp final : public DialUpStep {
public:
    bool DialUp(const TParametryFtp&, FtpJobDialog*) override { return true; }
    void HangUpIfDialled() override {}
};

// A send job's world but its server: a local exchange folder with a data file, parameters for
// a server on 127.0.0.1 (its port still to set), the real FTP client, doubles for the rest.
struct FtpJob {
    FtpJob()
    {
        WriteFile(file, QByteArray(300000, 'd'));
        parameters.ParSerwerFTP = QStringLiteral("127.0.0.1");
        parameters.ParUserFTP = QStringLiteral("tarvexio");
        parameters.ParFolderLokalFTP = local.path();
    }
    TDmFtp::Ports ports()
    {
        return {[this] { return std::make_unique<CurlFtpClient>(timeouts); }, clock, newDialUp};
    }
    bool send() { return TDmFtp::RunSendJob(&dialog, parameters, file, result, ports()); }

    QTemporaryDir local;
    QString file = local.filePath(QStringLiteral("PSHD_K1_HD0001_20260310_080910.DAT"));
    TParametryFtp parameters;
    FtpTimeouts timeouts;
    std::function<std::unique_ptr<DialUpStep>()> newDialUp = [] {
        return std::make_unique<NoDialUp>();
    };
    TFtpJobResult result;
    RecordingFtpDialog dialog;
    FakeClock clock;
};

} // namespace tarvexio::test
