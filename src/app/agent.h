#pragma once

#include "app/agent_location.h"
#include "app/agent_start.h"
#include "app/control_server.h"
#include "app/delivery_ledger.h"
#include "app/error_report.h"
#include "app/manual_export.h"
#include "app/operator_requests.h"
#include "app/scheduler.h"
#include "app/settings_keeper.h"
#include "app/settings_page.h"
#include "app/status_report.h"
#include "app/upload_step.h"
#include "app/window_and_tray.h"
#include "config/autostart_entry.h"
#include "export/export_run.h"
#include "export/missing_data_requests.h"
#include "model/event_log.h"
#include "model/session_owner.h"
#include "model/window_model.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

namespace tarvexio {

class AutostartStore;
class Clock;
class DialUpBackend;
class Dialogs;
class FtpClient;
class Privileges;

struct AgentPorts {
    Clock& clock;
    Dialogs& dialogs;
    Privileges& privileges;
    AutostartStore& autostart;
    // A fresh client for every FTP job, on whichever thread runs the job.
    std::function<std::unique_ptr<FtpClient>()> newFtpClient;
    DialUpBackend& dialUp;
};

// The main window's logic without the window, as named parts wired together: the start, the
// window and tray, the settings, the scheduler with its upload step, the manual export, the
// operator's requests and the status it reports. Widgets call the parts' operations; tests
// call them directly; the headless agent has nothing else.
class Agent final : public QObject, private SessionHost, private SchedulerHost {
    Q_OBJECT
public:
    Agent(const QStringList& arguments, AgentPorts ports, const AgentLocation& location,
          QString version, QObject* parent = nullptr);
    ~Agent() override;

    WindowModel& model() { return model_; }
    const WindowModel& model() const { return model_; }
    EventLog& log() { return log_; }
    SessionOwner& session() { return session_; }
    ErrorReport& errors() { return errors_; }
    AgentStart& startUp() { return start_; }
    WindowAndTray& window() { return window_; }
    SettingsKeeper& settings() { return settings_; }
    SettingsPage& settingsPage() { return settingsPage_; }
    Scheduler& scheduler() { return scheduler_; }
    const Scheduler& scheduler() const { return scheduler_; }
    // What was made, delivered and recorded; its waiting files are the upload list.
    DeliveryLedger& ledger() { return ledger_; }
    // Full paths of complete data files waiting for upload, oldest first.
    QStringList uploadList() const { return ledger_.waiting(); }
    UploadStep& upload() { return upload_; }
    ExportRun& exportRun() { return exportRun_; }
    ManualExport& manualExport() { return manualExport_; }
    OperatorRequests& operatorRequests() { return operatorRequests_; }
    const StatusReport& status() const { return status_; }
    ControlServer& control() { return control_; }
    // What every FTP job of this agent is built from.
    const TDmFtp::Ports& ftpPorts() const { return ftpPorts_; }

private:
    void connectionRefused() override;
    void sessionFailed(const std::exception& error) override;
    void catalogueReady(bool firstTime) override;
    void recordExportedDay(const QDate& day) override;
    void showMessages() override;
    void tickStarting() override;
    void tickEnded() override;

    AutostartEntry autostartEntry_;
    WindowModel model_;
    EventLog log_;
    ExceptionDisplay errors_;
    SessionOwner session_;
    DeliveryLedger ledger_;
    MissingDataRequests requests_;
    ExportRun exportRun_;
    TDmFtp::Ports ftpPorts_;
    // A part is made before every part that holds it as one of its interfaces.
    SettingsKeeper settings_;
    SettingsPage settingsPage_;
    WindowAndTray window_;
    UploadStep upload_;
    Scheduler scheduler_;
    AgentStart start_;
    ManualExport manualExport_;
    StatusReport status_;
    OperatorRequests operatorRequests_;
    ControlServer control_;
};

} // namespace tarvexio
