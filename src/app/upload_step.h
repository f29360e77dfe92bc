#pragma once

#include "transport/ftp_job_result.h"
#include "transport/ftp_send_job.h"

#include <QDateTime>

namespace tarvexio {

class AgentWindow;
class DeliveryLedger;
class Dialogs;
class EventLog;
class RecordSource;
class Transmission;
class WindowModel;

// Sending the files that wait in the delivery ledger, one FTP job per file, and the connection
// test. Every attempt and delivery goes into the ledger.
class UploadStep {
public:
    struct Context {
        WindowModel& model; // the exchange directory and the unattended flag
        DeliveryLedger& ledger;
        EventLog& log;
        Dialogs& dialogs;
        TDmFtp::Ports ftp;
        const RecordSource& record;
        // A program that is ending sends nothing more.
        const AgentWindow& window;
    };

    explicit UploadStep(Context context);

    // The dialog that interactive sends run behind; without it every send runs unattended.
    void setTransmission(Transmission* transmission) { transmission_ = transmission; }

    // Sends one file and logs the outcome; true when it went.
    bool SendOneFile(const QString& file);
    // Every waiting file, newest first; after each success the scan starts again from the
    // newest, so a file that failed is tried again. A login the server refuses ends the scan:
    // the others would be refused alike. A file gone from the disk leaves the ledger's
    // waiting files, so that its shop's day is made again. True when nothing is left waiting.
    bool SendWaitingFiles();

    void BtnTestPolaczeniaClick();
    // "Plik ... czeka na wysłanie" after the window came back, when sends have failed.
    void showWaitingFileNotice(int failedAttempts);

    const TDmFtp::Ports& ftpPorts() const { return c_.ftp; }

    // The server refused the last job's login (530).
    bool loginRefused() const { return loginRefused_; }

    // The file being sent, or the last one tried.
    const QString& currentFile() const { return currentFile_; }

    // A data file the operator sends (tarvexioctl send), through the agent's own upload step:
    // one upload at a time for the exchange directory. Sent, it counts as delivered for the day
    // it holds, with a log line; false with the reason when it did not go.
    bool sendByHand(const QString& file, QString* reason);

    // When a job last listed the server's folder for request files; invalid before the first.
    const QDateTime& requestsLastLooked() const { return requestsLastLooked_; }
    // Listings for request files that failed in a row from this many on are alerting lines.
    static constexpr int RequestLookupAlertAfter = 3;

    // The notice's text, its Polish plural chosen by the number of failed sends.
    static QString waitingFileNotice(const QString& fileName, int failedAttempts);

private:
    void logOutcome(const TFtpJobResult& result, const QString& file);
    void noteRequestLookup(const TFtpJobResult& result);

    Context c_;
    Transmission* transmission_ = nullptr;
    bool loginRefused_ = false; // by the last job
    QString currentFile_;
    QDateTime requestsLastLooked_;
    int failedRequestLookups_ = 0;
};

} // namespace tarvexio
