#include "connection_test.h"

#include "agent_settings.h"
#include "transport/ftp_job_dialog.h"
#include "transport/ftp_send_job.h"

#include <cstdio>

namespace tarvexio {

namespace {

void print(const QString& text)
{
    std::printf("%s\n", text.toLocal8Bit().constData());
    std::fflush(stdout);
}

// The transmission dialog as lines on stdout: a row when its status is known, the final text.
class PrintedJob final : public FtpJobDialog {
public:
    void QueueMessage(const QString& text, const QString& status, MessageKind kind) override
    {
        if (kind == MsgAddRow) {
            flush();
            row_ = text;
        } else if (kind == MsgSetStatus && !status.endsWith(u'%')) {
            print(row_ + QStringLiteral(": ") + status);
            row_.clear();
        } else if (kind == MsgFinalError) {
            flush();
            print(text);
        }
    }
    void SetProgress(int) override {}
    bool ShouldEnd() const override { return false; }
    void setPanelCaption(const QString&) override {}
    void hideAbortButton() override {}
    void MsgBox(const QString& text) override { print(text); }
    // A row that never got its status is shown as the window leaves it.
    void flush()
    {
        if (!row_.isEmpty())
            print(row_ + QStringLiteral(": ..."));
        row_.clear();
    }

private:
    QString row_;
};

} // namespace

int testConnection(AgentSettings& settings)
{
    const TParametryFtp parameters = settings.ftpParameters();
    const TDmFtp::Ports ports = settings.ftpPorts();
    PrintedJob job;
    TFtpJobResult result;
    const bool succeeded = TDmFtp::RunConnectionTest(&job, parameters, result, ports);
    job.flush();
    if (!result.Listing.isEmpty())
        print(QStringLiteral("Listing: ") + result.Listing.join(QStringLiteral(", ")));
    if (succeeded) {
        print(QStringLiteral("Test połączenia przebiegł pomyślnie"));
        return 0;
    }
    print(
        QStringLiteral("Test połączenia nie powiódł się") +
        (result.FailureReason.isEmpty() ? QString() : QStringLiteral(": ") + result.FailureReason));
    return 1;
}

} // namespace tarvexio
