#include "app/agent.h"

#include "app/agent_status.h"
#include "app/configuration_store.h"
#include "app/logging.h"
#include "config/configuration_file.h"
#include "config/settings_record.h"
#include "db/database_name.h"
#include "db/db_error.h"
#include "db/session.h"
#include "export/data_file_name.h"
#include "export/export_progress.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/privileges.h"
#include "transport/dial_up.h"

#include <QDir>
#include <QScopeGuard>

#include <optional>

namespace tarvexio {

namespace {

const QString UsageText =
    QStringLiteral("Składnia: Tarvexio Baza=NazwaBazy Ident=NazwaUzytkownika");

} // namespace

Agent::Agent(QStringList arguments, AgentPorts ports, AgentLocation location, QString version,
             QObject* parent)
    : QObject(parent)
    , arguments_(std::move(arguments))
    , clock_(ports.clock)
    , dialogs_(ports.dialogs)
    , privileges_(ports.privileges)
    , location_(std::move(location))
    , autostartEntry_(ports.autostart)
    , log_(model_, clock_)
    , session_(log_, std::move(version),
               SessionOwner::Hooks{[this] {
                                       if (!session_.configurationLoaded())
                                           startFailure_ = attemptedDatabaseName().isEmpty()
                                                               ? StartFailure::NoNames
                                                               : StartFailure::DatabaseRefused;
                                       model_.flags().closing = true;
                                       Close();
                                   },
                                   [this](const std::exception& e) {
                                       model_.flags().closing = true;
                                       ShowException(e);
                                   },
                                   [this](TDmQMXWDWykazy& catalogue, bool firstTime) {
                                       onCatalogueReady(catalogue, firstTime);
                                   }})
    , requests_(log_, dialogs_)
    , exportRun_(
          ExportEnvironment{uploadList_, log_, dialogs_, clock_, session_, session_.version()})
    , ftpPorts_{std::move(ports.newFtpClient), clock_,
                [&backend = ports.dialUp, &clock = clock_] {
                    return std::make_unique<DialUpConnection>(backend, clock);
                }}
    , upload_({model_, uploadList_, log_, dialogs_, ftpPorts_, [this] { return konfig_.get(); },
               [this] {
                   return terminating_;
               }})
    , scheduler_({model_, session_, clock_, log_, uploadList_, exportRun_, upload_, requests_,
                  [this] { return konfig_.get(); },
                  [this](const QDate& day) { recordExportedDay(day); },
                  [this] {
                      ShowWindow();
                      emit model_.raiseRequested();
                  },
                  [this](const std::exception& e) { ShowException(e); }, [this] { writeStatus(); },
                  [this] {
                      reloadSettingsChangedOutside();
                  }})
    , settingsPage_({model_, session_, dialogs_, ports.dialUp, autostartEntry_,
                     location_.programFile, [this] {
                         return konfig_.get();
                     }})
{
    startTimer_.setSingleShot(true);
    startTimer_.setInterval(StartTimerMs);
    connect(&startTimer_, &QTimer::timeout, this, &Agent::runStartTimer);
    for (TrayCommand command :
         {TrayCommand::Komunikaty, TrayCommand::Przywroc, TrayCommand::Zakoncz})
        model_.setTrayCommandEnabled(command, false);
}

Agent::~Agent() = default;

// The name the session tried: the command line's, else the environment's or the remembered one.
QString Agent::attemptedDatabaseName() const
{
    const TQMXBazaDanych* session = session_.session();
    return session ? session->GetNazwaBazy() : session_.databaseName();
}

void Agent::onCatalogueReady(TDmQMXWDWykazy& catalogue, bool firstTime)
{
    if (!konfig_) {
        konfig_ = std::make_unique<TKonfigEksportu>(catalogue, location_.folder);
        configurationStore_ = std::make_unique<ConfigurationStore>(ConfigurationStore::Context{
            *konfig_, model_, session_, dialogs_, clock_, autostartEntry_,
            ConfigurationFilePath(location_.folder, location_.programFile), location_.programFile,
            [this] { settingsPage_.RecordShown(); },
            [this](const QString& line) {
                WriteLog(line);
            }});
    } else {
        konfig_->LoadShopLists(catalogue);
    }
    if (firstTime)
        configurationStore_->LoadAtStart();
    claimExchangeDirectory();
}

// Two agents on one exchange directory would both export and send every day. The runtime
// folder's lock cannot see an agent of another session or of the service; this one can.
void Agent::claimExchangeDirectory()
{
    if (exchangeLock_.hold(ExchangeDirectory(model_.settings().EdKatalogWymiany)) !=
        DirectoryLock::Result::HeldByOther)
        return;
    const QString refusal = QStringLiteral("Aplikacja jest już uruchomiona");
    WriteLog(refusal + QStringLiteral(" dla katalogu wymiany ") +
                 QDir::toNativeSeparators(model_.settings().EdKatalogWymiany),
             true);
    if (!model_.flags().unattended)
        dialogs_.MsgBox({refusal, QStringLiteral("Tarvexio")});
    Terminate();
}

void Agent::EksportClick()
{
    if (model_.page() == MainPage::Eksport && !model_.flags().tray)
        ManualExport();
}

void Agent::ManualExport()
{
    const auto resumeTimer = qScopeGuard([this] { scheduler_.Resume(); });
    std::optional<SessionLease> session; // until the upload has run too
    try {
        session.emplace(session_);
        scheduler_.Pause();
        // A refused connection has already been reported; what waits is still sent.
        if (session_.isConnected() && konfig_)
            exportManualRange();
    } catch (const std::exception& error) {
        ShowException(error);
    }
    try {
        upload_.SendWaitingFiles();
    } catch (const std::exception& error) {
        ShowException(error);
    }
}

void Agent::exportManualRange()
{
    const QDate today = clock_.now().date();
    const SettingsControls& controls = model_.settings();
    for (QDate day = controls.DateTimePicker1; day <= controls.DateTimePicker2;
         day = day.addDays(1)) {
        if (day >= today)
            continue;
        const DayExport exported = exportRun_.ShopLoop(
            *konfig_, ExportSettingsShown(model_), day, today, [this](const auto& procedure) {
                // The progress window's part: show the error, close, go on with the next shop.
                try {
                    if (progressDisplay_)
                        progressDisplay_->Pokaz(procedure);
                    else
                        procedure(nullptr);
                } catch (const std::exception& error) {
                    ShowException(error);
                }
            });
        if (!exported.complete())
            break;
        recordExportedDay(day);
    }
}

void Agent::recordExportedDay(const QDate& day)
{
    model_.settings().DataOstatniegoEksportu = day;
    konfig_->ParDataOstEksp = DayNumber(day);
    model_.settingsShown();
    configurationStore_->Save();
}

void Agent::SaveConfiguration()
{
    // The record and its stores come with the first session; a save opens one if need be.
    std::optional<SessionLease> session; // closed after an error has been shown
    try {
        session.emplace(session_);
        if (configurationStore_)
            configurationStore_->Save();
    } catch (const std::exception& error) {
        ShowException(error);
    }
}

void Agent::BtnUstawDayeOstEkspClick()
{
    SettingsControls& controls = model_.settings();
    controls.DataOstatniegoEksportuEnabled = !controls.DataOstatniegoEksportuEnabled;
    controls.BtnUstawDayeOstEksp =
        controls.DataOstatniegoEksportuEnabled ? QStringLiteral("Zapisz") : QStringLiteral("Ustaw");
    model_.settingsShown();
    if (controls.DataOstatniegoEksportuEnabled)
        return;
    if (konfig_)
        konfig_->ParDataOstEksp = DayNumber(controls.DataOstatniegoEksportu);
    SaveConfiguration();
}

void Agent::start()
{
    startTimer_.start();
}

void Agent::ShowWindow()
{
    model_.setWindowVisible(true);
    FormShow();
}

void Agent::FormShow()
{
    WindowModel::Flags& flags = model_.flags();
    model_.setAutoStartBoxEnabled(privileges_.IsRunAsAdmin());
    if (flags.tray || flags.firstShow || arguments_.size() > 1) {
        flags.firstShow = true;
        return;
    }
    try {
        if (arguments_.size() == 1 && IsTestArgument(arguments_.front().trimmed())) {
            flags.test = true;
            model_.setTestButtonVisible(true);
        }
        model_.setTrayIconShown(true);
        // The closing flag stands while the session opens: a refused connection closes the
        // window for good, and the log keeps why.
        flags.closing = true;
        try {
            session_.OpenSession();
        } catch (const std::exception& error) {
            WriteLog(QStringLiteral("Błąd: %1").arg(ExceptionText(error)), true);
        }
        if (!session_.isConnected())
            Close();
        flags.closing = false;
        model_.setCaption(workingCaption());
        model_.setPage(MainPage::Eksport);
    } catch (const std::exception& error) {
        flags.closing = true;
        ShowException(error);
    }
    flags.firstShow = true;
    if (!session_.isConnected()) {
        flags.closing = true;
        Close();
    }
    if (model_.windowVisible())
        emit model_.raiseRequested();
}

void Agent::runStartTimer()
{
    try {
        StartTimerTimer();
    } catch (const std::exception& error) {
        // An error escaping the start timer reaches the application's own display.
        dialogs_.ShowExceptionNow(error);
    }
    emit startTimerDone();
}

void Agent::StartTimerTimer()
{
    startTimer_.stop();
    scheduler_.Pause();
    log_.Prepare(location_.folder);
    scheduler_.numbers() = SchedulerNumbers::Defaults();
    model_.setTrayCommandEnabled(TrayCommand::Przywroc, false);
    model_.setTrayCommandEnabled(TrayCommand::Zakoncz, true);

    WindowModel::Flags& flags = model_.flags();
    if (arguments_.size() < 2) {
        flags.tray = false;
        flags.unattended = false;
        return;
    }
    flags.tray = true;
    flags.unattended = true;
    const QString first = arguments_.front().trimmed();
    if (first == u"?" || first == u"/?") {
        dialogs_.MsgBox({UsageText, QStringLiteral("Informacja"), MessageButtons::Ok,
                         MessageIcon::Information});
        Terminate();
        flags.closing = true;
        return;
    }
    if (!readCommandLine())
        return;

    if (!session_.databaseName().isEmpty() && !session_.userIdent().isEmpty()) {
        model_.setTrayIconShown(true);
        model_.setWindowVisible(false);
        WriteLog(QStringLiteral("Uruchomiono program"));
        model_.setCaption(workingCaption());
        scheduler_.Resume();
    }
}

// False when a missing name has ended the start.
bool Agent::readCommandLine()
{
    WindowModel::Flags& flags = model_.flags();
    CommandLineValues values;
    values.databaseName = session_.databaseName();
    values.userIdent = session_.userIdent();
    values.test = flags.test;
    values.numbers = scheduler_.numbers();
    ReadArguments(arguments_, values, SystemDecimalSeparator());
    AdjustPeriods(values.numbers);
    session_.setNames(values.databaseName, values.userIdent);
    scheduler_.numbers() = values.numbers;
    if (values.test && !flags.test) {
        flags.test = true;
        model_.setTestButtonVisible(true);
    }

    const struct {
        bool missing;
        const char* box;
        const char* line;
    } checks[] = {
        {values.databaseName.isEmpty(), "Nie podano nazwy bazy", "Nie podano nazwy bazy."},
        {values.userIdent.isEmpty(), "Nie podano nazwy użytkownika",
         "Nie podano nazwy użytkownika."},
    };
    for (const auto& check : checks) {
        if (!check.missing || flags.test)
            continue;
        dialogs_.MsgBox({QString::fromUtf8(check.box), model_.caption(), MessageButtons::Ok,
                         MessageIcon::None});
        WriteLog(QString::fromUtf8(check.line), true);
        startFailure_ = StartFailure::NoNames;
        Terminate();
        flags.closing = true;
        return false;
    }
    return true;
}

bool Agent::FormCloseQuery()
{
    WindowModel::Flags& flags = model_.flags();
    if (flags.closing)
        scheduler_.Pause();
    if (flags.tray) {
        scheduler_.Pause();
        return true;
    }
    flags.tray = true;
    flags.unattended = true;
    session_.CloseSession();
    model_.setWindowVisible(false);
    if (!scheduler_.isRunning())
        scheduler_.Resume();
    enableTrayCommands();
    return false;
}

void Agent::enableTrayCommands()
{
    model_.setTrayCommandEnabled(TrayCommand::Komunikaty, model_.messagePane().size() > 1);
    model_.setTrayCommandEnabled(TrayCommand::Przywroc, true);
    model_.setTrayCommandEnabled(TrayCommand::Zakoncz, true);
}

void Agent::Close()
{
    if (FormCloseQuery()) {
        model_.setWindowVisible(false);
        Terminate();
    }
}

void Agent::Terminate(int exitCode)
{
    if (terminating_)
        return;
    terminating_ = true;
    scheduler_.Stop();
    model_.setTrayIconShown(false);
    emit terminateRequested(exitCode);
}

void Agent::writeStatus()
{
    WriteAgentStatus(AgentStatusPath(location_.folder),
                     {clock_.now(), uploadList_, scheduler_.failedAttempts(),
                      scheduler_.numbers().attemptLimit, scheduler_.attemptLimitReached(),
                      scheduler_.numbers().checkPeriod, log_.recentAlerts(),
                      upload_.requestsLastLooked()});
}

void Agent::WorkNow()
{
    // Paused (the window in use, a manual export): the request is noted, not run.
    if (terminating_ || !scheduler_.isRunning()) {
        WriteLog(QStringLiteral("Prośba operatora o pracę teraz (tarvexioctl send-now) pominięta: "
                                "okno programu jest w użyciu albo program kończy pracę"));
        return;
    }
    WriteLog(QStringLiteral("Praca teraz na żądanie operatora (tarvexioctl send-now)"));
    // Settings changed by the operator's tool count for this very tick (a retry opens no
    // session of its own).
    if (configurationStore_) {
        try {
            const SessionLease session(session_);
            if (session_.isConnected())
                reloadSettingsChangedOutside();
        } catch (const std::exception& error) {
            ShowException(error);
        }
    }
    if (!terminating_)
        scheduler_.TimerTimer();
}

void Agent::reloadSettingsChangedOutside()
{
    // An agent at work unattended; with the window in use the user's edits stand.
    if (configurationStore_ && model_.flags().unattended)
        configurationStore_->ReloadIfChangedOutside();
}

void Agent::KomunikatyClick()
{
    model_.setTrayCommandEnabled(TrayCommand::Komunikaty, false);
    model_.setTrayCommandEnabled(TrayCommand::Przywroc, true);
    model_.setTrayCommandEnabled(TrayCommand::Zakoncz, true);
    model_.setTrayBlinking(false);
    model_.setPage(MainPage::Komunikaty);
    model_.flags().tray = false;
    ShowWindow();
}

void Agent::PrzywrocClick()
{
    model_.flags().tray = false;
    scheduler_.Pause();
    enableTrayCommands();
    model_.setPage(MainPage::Eksport);
    ShowWindow();
    emit model_.raiseRequested();
    upload_.ShowWaitingFileNotice(scheduler_.failedAttempts());
}

void Agent::ZakocznczClick()
{
    const MessageAnswer answer = dialogs_.MsgBox(
        {QStringLiteral("Czy rzeczywiście zamknąć program?"), QStringLiteral("UWAGA"),
         MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::No});
    if (answer != MessageAnswer::Yes)
        return;
    Terminate();
    model_.flags().closing = true;
}

void Agent::ShowException(const std::exception& error)
{
    if (!model_.flags().unattended) {
        dialogs_.ShowExceptionNow(error);
        return;
    }
    try {
        WriteLog(QStringLiteral("Błąd: %1").arg(ExceptionText(error)), true);
    } catch (const std::exception& logError) {
        // The log is what failed: the box is the only way left to tell.
        qCWarning(lcApp) << logError.what();
        dialogs_.ShowExceptionNow(error);
    }
}

QString Agent::workingCaption() const
{
    return QStringLiteral("Tarvexio SFTP (%1)").arg(RedactedDatabaseName(session_.databaseName()));
}

} // namespace tarvexio
