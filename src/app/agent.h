#pragma once

#include "app/agent_status.h"
#include "app/scheduler.h"
#include "app/settings_page.h"
#include "app/upload_step.h"
#include "config/autostart_entry.h"
#include "export/export_run.h"
#include "export/missing_data_requests.h"
#include "model/event_log.h"
#include "model/session_owner.h"
#include "model/window_model.h"
#include "platform/directory_lock.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

namespace tarvexio {

class AutostartStore;
class ProgressDisplay;
class Clock;
class ConfigurationStore;
class DialUpBackend;
class Dialogs;
class FtpClient;
class Privileges;
class TDmQMXWDWykazy;
class TKonfigEksportu;
class Transmission;

struct AgentPorts {
    Clock& clock;
    Dialogs& dialogs;
    Privileges& privileges;
    AutostartStore& autostart;
    // A fresh client for every FTP job, on whichever thread runs the job.
    std::function<std::unique_ptr<FtpClient>()> newFtpClient;
    DialUpBackend& dialUp;
};

// Where the agent keeps its files: the program folder (log, configuration, default exchange
// directory) and the program file whose name the configuration file takes.
struct AgentLocation {
    QString folder;
    QString programFile;
};

// The main window's logic without the window: start-up, the show and close handlers, the
// session, the log, the work timer, the exports and the uploads. Widgets call these operations;
// tests call them directly; the headless agent has nothing else.
class Agent : public QObject {
    Q_OBJECT
public:
    static constexpr int StartTimerMs = 1000;

    Agent(QStringList arguments, AgentPorts ports, AgentLocation location, QString version,
          QObject* parent = nullptr);
    ~Agent() override;

    WindowModel& model() { return model_; }
    const WindowModel& model() const { return model_; }
    EventLog& log() { return log_; }
    SessionOwner& session() { return session_; }
    Scheduler& scheduler() { return scheduler_; }
    const Scheduler& scheduler() const { return scheduler_; }
    // Full paths of complete data files waiting for upload, oldest first.
    QStringList& uploadList() { return uploadList_; }
    UploadStep& upload() { return upload_; }
    SettingsPage& settingsPage() { return settingsPage_; }
    // What every FTP job of this agent is built from.
    const TDmFtp::Ports& ftpPorts() const { return ftpPorts_; }
    // The settings record and its stores, from the first connected session on.
    TKonfigEksportu* konfig() const { return konfig_.get(); }
    ConfigurationStore* configurationStore() const { return configurationStore_.get(); }

    // Arms the one-shot start timer.
    void start();

    // Showing the window runs the show handler, as every show does.
    void ShowWindow();
    void FormShow();
    void StartTimerTimer();
    // The close handler: true lets the window close (and the program end).
    bool FormCloseQuery();
    // Closing the main window from the logic; ends the program when the handler allows.
    void Close();
    // Ends the program once control is back in the event loop.
    void Terminate(int exitCode = 0);
    // The operator asks for the scheduler's tick now (tarvexioctl send-now): a waiting file is
    // sent, a due day exported, without waiting for the check period.
    void WorkNow();
    bool terminating() const { return terminating_; }
    // Why the start could not work, for a process without windows to exit with a status a
    // service manager sees.
    enum class StartFailure { None, NoNames, DatabaseRefused };
    StartFailure startFailure() const { return startFailure_; }

    // The tray menu's commands.
    void KomunikatyClick();
    void PrzywrocClick();
    void ZakocznczClick();

    // "Zap. Konfig." and "Zapisz": saves in the chosen mode, errors shown.
    void SaveConfiguration();
    // "Ustaw" unlocks the last exported day's picker; "Zapisz" stores the day shown.
    void BtnUstawDayeOstEkspClick();
    void BtnTestPolaczeniaClick() { upload_.BtnTestPolaczeniaClick(); }

    // The "Eksport" button: the manual export, while the "Eksport" page is shown.
    void EksportClick();
    // Every day of the manual range before today, for every shop, then the upload step.
    void ManualExport();
    ExportRun& exportRun() { return exportRun_; }
    // The window that shows each shop's run of a manual export (none when headless).
    void setProgressDisplay(ProgressDisplay* display) { progressDisplay_ = display; }
    // The dialog behind which sends run while the window is in use (none when headless).
    void setTransmission(Transmission* transmission) { upload_.setTransmission(transmission); }

    void WriteLog(const QString& text, bool alert = false) { log_.WriteLog(text, alert); }
    // Exceptions at an operation's outermost handler. Unattended, nobody can answer a box,
    // so they go to the log (alerting) instead.
    void ShowException(const std::exception& error);

signals:
    // Emitted once per Terminate(); the process entry ends the event loop with the code.
    void terminateRequested(int exitCode);
    // The start timer has run (whatever it decided).
    void startTimerDone();

private:
    void runStartTimer();
    void onCatalogueReady(TDmQMXWDWykazy& catalogue, bool firstTime);
    void claimExchangeDirectory();
    void exportManualRange();
    // The picker, the record and the stores.
    void recordExportedDay(const QDate& day);
    bool readCommandLine();
    // "Komunikaty" when the pane has something to show, "Przywróć" and "Zakończ".
    void enableTrayCommands();
    QString workingCaption() const;

    QStringList arguments_;
    Clock& clock_;
    Dialogs& dialogs_;
    Privileges& privileges_;
    AgentLocation location_;
    AutostartEntry autostartEntry_;
    WindowModel model_;
    EventLog log_;
    SessionOwner session_;
    QStringList uploadList_;
    MissingDataRequests requests_;
    ExportRun exportRun_;
    TDmFtp::Ports ftpPorts_;
    UploadStep upload_;
    Scheduler scheduler_;
    SettingsPage settingsPage_;
    QTimer startTimer_;
    std::unique_ptr<TKonfigEksportu> konfig_;
    std::unique_ptr<ConfigurationStore> configurationStore_;
    // Hidden, so that a listing of the data files does not show it.
    DirectoryLock exchangeLock_{ExchangeLockName};
    ProgressDisplay* progressDisplay_ = nullptr;
    bool terminating_ = false;
    StartFailure startFailure_ = StartFailure::None;
    QString attemptedDatabaseName() const;
    // For tarvexioctl status: what the scheduler holds in memory.
    void writeStatus();
    void reloadSettingsChangedOutside();
};

} // namespace tarvexio
