#pragma once

#include "app/stored_settings.h"
#include "config/settings_record.h"
#include "config/settings_stores.h"
#include "model/event_log.h"
#include "platform/clock.h"
#include "transport/dial_up_backend.h"
#include "transport/ftp_send_job.h"

#include <QStringList>

#include <memory>

namespace tarvexio {

// The agent's settings where the agent finds them: its database (BAZA= and IDENT= among the
// arguments, else TARVEXIO_BAZA and TARVEXIO_IDENT, else the remembered connection), its
// program folder and configuration file, and the record read from the store a start reads.
class AgentSettings {
public:
    AgentSettings();

    // Connects and reads the record; false, with the reason in error(), when it cannot.
    bool open(const QStringList& arguments);

    TKonfigEksportu& record() { return stored_.record(); }
    SettingsStores stores()
    {
        return SettingsStores(*stored_.session().session(), configurationFile_);
    }
    // Where the record came from: "Konfig table" or the configuration file's path.
    const QString& source() const { return source_; }
    // The agent's program folder (its log, configuration file and status).
    const QString& folder() const { return folder_; }
    // The FTP parameters and the ports of a job, as the agent gives them: request files fetched
    // on the way land in the exchange directory.
    TParametryFtp ftpParameters();
    TDmFtp::Ports ftpPorts();
    const QString& error() const { return error_; }
    // The agent's log, where what the tool does in the agent's stead is said.
    EventLog& log() { return log_; }

private:
    bool readStartStore();

    SystemClock clock_{false};
    SystemClock jobClock_; // an FTP job keeps its pauses
    std::unique_ptr<DialUpBackend> dialUp_ = createSystemDialUpBackend();
    EventLog log_{clock_};
    QString folder_;
    StoredSettings stored_;
    QString configurationFile_;
    QString source_;
    QString error_;
};

} // namespace tarvexio
