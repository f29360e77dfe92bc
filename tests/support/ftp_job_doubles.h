#pragma once

#include "support/fake_clock.h"
#include "support/files.h"
#include "transport/curl_ftp_client.h"
#include "transport/dial_up.h"
#include "transport/dial_up_backend.h"
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
    void setPanelCaption(const QString& text) override { captions << text; }
    void hideAbortButton() override { abortHidden = true; }
    void MsgBox(const QString& text) override { boxes << text; }

    QStringList rows;
    QStringList percents;
    QStringList captions;
    QStringList boxes;
    QStringList finalTexts; // in the order posted; the dialog shows the last
    int stopAtRow = -1;     // "Przerwij" is pressed once this many rows show
    bool abortHidden = false;
};

// A remote-access service that answers as the test says and remembers what it was asked.
// Its states, one letter each: C connected, O on the way, D disconnected, ? unreadable.
class ScriptedDialUpBackend final : public DialUpBackend {
public:
    std::optional<int> activeConnections() override
    {
        calls << "enumerate";
        return active;
    }
    Dialled dial(const QString& phonebook, const QString& entry, const QString& user,
                 const QString& password) override
    {
        calls << "dial";
        dialledWith = QStringList{phonebook, entry, user, password}.join(u'|');
        return {dialWorks, QStringLiteral("h1")};
    }
    std::optional<State> Status(const QString&) override
    {
        calls << "status";
        const QChar next = states.isEmpty() ? u'?' : states.front();
        states.remove(0, 1);
        if (next == u'?')
            return std::nullopt;
        return next == u'C' ? State::Connected : next == u'O' ? State::Other : State::Disconnected;
    }
    bool hangUp(const QString& handle) override
    {
        calls << "hang up " + handle;
        return true;
    }
    std::optional<QStringList> entries(const QString&) override { return phonebook; }

    std::optional<int> active = 0;
    bool dialWorks = true;
    QString states = QStringLiteral("C");
    std::optional<QStringList> phonebook;
    QStringList calls;
    QString dialledWith;
};

// A send job's world but its server: a local exchange folder with a data file, parameters for
// a server on 127.0.0.1 (its port still to set), the real FTP client and dial-up step (dial-up
// off unless the parameters ask for it), doubles for the rest.
struct FtpJob {
    FtpJob()
    {
        writeFile(file, QByteArray(300000, 'd'));
        parameters.ParSerwerFTP = QStringLiteral("127.0.0.1");
        parameters.ParUserFTP = QStringLiteral("tarvexio");
        parameters.ParFolderLokalFTP = local.path();
    }
    TDmFtp::Ports ports()
    {
        return {[this] { return std::make_unique<CurlFtpClient>(timeouts); }, clock,
                [this] {
                    return std::make_unique<DialUpConnection>(dialUp, clock);
                }};
    }
    bool send() { return TDmFtp::RunSendJob(&dialog, parameters, file, result, ports()); }

    QTemporaryDir local;
    QString file = local.filePath(QStringLiteral("PSHD_K1_HD0001_20260310_080910.DAT"));
    TParametryFtp parameters;
    FtpTimeouts timeouts;
    ScriptedDialUpBackend dialUp;
    TFtpJobResult result;
    RecordingFtpDialog dialog;
    FakeClock clock;
};

} // namespace tarvexio::test
