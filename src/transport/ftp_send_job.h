#pragma once

#include "config/settings_record.h"
#include "transport/ftp_job_dialog.h"
#include "transport/ftp_job_result.h"

#include <QString>

#include <exception>
#include <functional>
#include <memory>

namespace tarvexio {

class Clock;
class DialUpStep;
class FtpClient;
struct FtpLogin;

// One FTP job on a fresh session: sending a data file (under a temporary name, then renamed)
// and fetching the request files waiting beside it, or a connection test.
class TDmFtp {
public:
    struct Ports {
        std::function<std::unique_ptr<FtpClient>()> newClient;
        Clock& clock;
        // Every job dials (or not) on a step of its own.
        std::function<std::unique_ptr<DialUpStep>()> newDialUp;
    };

    static constexpr int PauseAfterJobMs = 3000;
    static constexpr int PauseWhenNotConnectedMs = 2000;

    static bool RunSendJob(FtpJobDialog* dialog, const TParametryFtp& parameters,
                           const QString& localPath, TFtpJobResult& result, const Ports& ports);
    static bool RunConnectionTest(FtpJobDialog* dialog, const TParametryFtp& parameters,
                                  TFtpJobResult& result, const Ports& ports);

    ~TDmFtp();

private:
    // The end of a transfer that the user stopped; its text is the one the dialog shows.
    struct EAbort : std::exception {
        const char* what() const noexcept override
        {
            return "Operacja przerwana przez użytkownika";
        }
    };
    // A row's status while its step runs, and once it is done.
    static inline const QString Pending = QStringLiteral("...");
    static inline const QString Ok = QStringLiteral("OK");

    TDmFtp(FtpJobDialog* dialog, const TParametryFtp& parameters, TFtpJobResult& result,
           const Ports& ports);

    // Each step raises on failure; SendFile, FetchRequestFiles and the connection test each
    // catch in one place and turn what failed into the job's texts, status and reason.
    void connectServer();
    FtpLogin login() const;
    void ChangeRemoteDir(const QString& folder);
    void SendFile();
    void checkDelivered(const QString& fileName);
    void putTemporaryFile(const QString& temporary);
    void FetchRequestFiles();
    QStringList listRequestFolder();
    void fetchRequestFile(const QString& name);
    void DownloadFile(const QString& remoteName, const QString& localPath);
    void removeStaleTemporaryFiles();
    void leftOnServer(const QString& name, const QString& reason);
    void IndyFtpWork(qint64 count);
    [[noreturn]] void AbortByUser();
    void ReportError(const QString& text);
    void FinishSession();

    // After a failure: the client disconnected, a line this job dialled hung up.
    void dropConnection();
    // The first failure of the job, kept for the log: without a dialog nobody else sees it.
    void noteFailure(const std::exception& error);
    // One upload or download with progress shown.
    void sizedTransfer(qint64 expectedSize, const std::function<void()>& transfer);
    void showTransferDone(const QString& panelCaption);
    void addRow(const QString& operation, const QString& status);
    void setStatus(const QString& status);
    void finalError(const QString& text);
    void caption(const QString& text);

    FtpJobDialog* dialog_;
    TParametryFtp parameters_;
    TFtpJobResult& result_;
    Clock& clock_;
    std::unique_ptr<DialUpStep> dialUp_;
    std::unique_ptr<FtpClient> client_;
    QString localPath_;
    QString CurrentDir = QStringLiteral("./");
    bool Connected = false;
    bool dialUpDone_ = false;
    bool Transferring = false;
    qint32 ExpectedSize = 0;
    qint32 FetchedCount = 0;
};

} // namespace tarvexio
