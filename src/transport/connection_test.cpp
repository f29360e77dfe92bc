#include "transport/connection_test.h"

#include "transport/ftp_job_dialog.h"

namespace tarvexio {

namespace {

// The transmission dialog as lines: a row once its status is known, the final text.
class Transcript final : public FtpJobDialog {
public:
    void QueueMessage(const QString& text, const QString& status, MessageKind kind) override
    {
        if (kind == MsgAddRow) {
            flush();
            row_ = text;
        } else if (kind == MsgSetStatus && !status.endsWith(u'%')) {
            lines << row_ + QStringLiteral(": ") + status;
            row_.clear();
        } else if (kind == MsgFinalError) {
            flush();
            lines << text;
        }
    }
    void SetProgress(int) override {}
    bool ShouldEnd() const override { return false; }
    void setPanelCaption(const QString&) override {}
    void hideAbortButton() override {}
    void MsgBox(const QString& text) override { lines << text; }
    // A row that never got its status is shown as the window leaves it.
    void flush()
    {
        if (!row_.isEmpty())
            lines << row_ + QStringLiteral(": ...");
        row_.clear();
    }

    QStringList lines;

private:
    QString row_;
};

} // namespace

ConnectionTestReport runConnectionTestReport(const TParametryFtp& parameters,
                                             const TDmFtp::Ports& ports)
{
    Transcript job;
    TFtpJobResult result;
    ConnectionTestReport report;
    report.succeeded = TDmFtp::RunConnectionTest(&job, parameters, result, ports);
    job.flush();
    report.lines = job.lines;
    if (!result.Listing.isEmpty())
        report.lines << QStringLiteral("Listing: ") + result.Listing.join(QStringLiteral(", "));
    if (report.succeeded)
        report.lines << QStringLiteral("Test połączenia przebiegł pomyślnie");
    else
        report.lines << QStringLiteral("Test połączenia nie powiódł się") +
                            (result.FailureReason.isEmpty()
                                 ? QString()
                                 : QStringLiteral(": ") + result.FailureReason);
    return report;
}

} // namespace tarvexio
