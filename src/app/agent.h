#pragma once

#include "model/event_log.h"
#include "app/scheduler.h"
#include "model/session_owner.h"
#include "model/window_model.h"
#include "config/autostart_entry.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

namespace tarvexio {

class AutostartStore;
class ExportRun;
class ProgressDisplay;
class Clock;
class ConfigurationStore;
class Dialogs;
class Privileges;
class TDmQMXWDWykazy;
class TKonfigEksportu;

struct AgentPorts {
    Clock& clock;
    Dialogs& dialogs;
    Privileges& privileges;
    AutostartStore& autostart;
};

// Where the agent keeps its files: the program folder (log, configuration, default exchange
// directory) and the program file whose name the configuration file takes.
struct AgentLocation {
    QString folder;
    QString programFile;
};

// The main window's logic without the window: start-up, the show and close handlers, the
// session, the log and the work timer. Widgets call these operations; tests call them
// directly; the headless agent has nothing else.
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
    bool terminating() const { return terminating_; }

    // The tray menu's commands.
    void KomunikatyClick();
    void PrzywrocClick();
    void ZakocznczClick();

    // "Zap. Konfig." and "Zapisz": saves in the chosen mode, errors shown.
    void SaveConfiguration();

    // The "Eksport" button: the manual export, while the "Eksport" page is shown.
    void EksportClick();
    // Every day of the manual range before today, for every shop, then the upload step.
    void ManualExport();
    ExportRun& exportRun() { return *exportRun_; }
    // The window that shows each shop's run of a manual export (none when headless).
    void setProgressDisplay(ProgressDisplay* display) { progressDisplay_ = display; }
    // Sends the files waiting in the upload list.
    void setUploadStep(std::function<void()> step) { uploadStep_ = std::move(step); }

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
    bool readCommandLine();
    void enableTrayCommandsAfterHide();
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
    Scheduler scheduler_;
    QTimer startTimer_;
    std::unique_ptr<TKonfigEksportu> konfig_;
    std::unique_ptr<ConfigurationStore> configurationStore_;
    std::unique_ptr<ExportRun> exportRun_;
    ProgressDisplay* progressDisplay_ = nullptr;
    std::function<void()> uploadStep_;
    bool terminating_ = false;
};

} // namespace tarvexio
