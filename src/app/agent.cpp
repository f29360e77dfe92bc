#include "app/agent.h"

#include "platform/service_notify.h"
#include "transport/ftp_job_setup.h"

#include <QDir>

namespace tarvexio {

Agent::Agent(const QStringList& arguments, AgentPorts ports, const AgentLocation& location,
             QString version, QObject* parent)
    : QObject(parent)
    , autostartEntry_(ports.autostart)
    , log_(model_, ports.clock)
    , errors_(model_, ports.dialogs, log_)
    , session_(log_, std::move(version), location.folder, *this)
    , ledger_(log_)
    , requests_(log_, ports.dialogs)
    , exportRun_(ExportEnvironment{ledger_, log_, ports.dialogs, ports.clock, session_,
                                   session_.version()})
    , ftpPorts_(ftpJobPorts(std::move(ports.newFtpClient), ports.clock, ports.dialUp))
    , settings_({model_, session_, ports.dialogs, ports.clock, autostartEntry_, log_, settingsPage_,
                 errors_, location})
    , settingsPage_({model_, session_, ports.dialogs, ports.dialUp, autostartEntry_,
                     location.programFile, settings_})
    , window_({arguments, model_, log_, session_, scheduler_, upload_, ports.privileges,
               ports.dialogs, errors_})
    , upload_({model_, ledger_, log_, ports.dialogs, ftpPorts_, settings_, window_})
    , scheduler_({model_, session_, ports.clock, log_, ledger_, exportRun_, upload_, requests_,
                  settings_, errors_, *this})
    , start_({arguments, model_, log_, session_, scheduler_, ports.dialogs, window_, location})
    , manualExport_({model_, session_, scheduler_, exportRun_, upload_, ports.clock, settings_,
                     errors_, ledger_})
    , status_({ports.clock, model_, ledger_, scheduler_, log_, upload_})
    , operatorRequests_({model_, log_, ports.clock, session_, scheduler_, settings_, upload_,
                         manualExport_, status_, window_, start_, errors_, ledger_})
    , control_(operatorRequests_, log_)
{
    ledger_.open(location.folder.isEmpty()
                     ? QStringLiteral(":memory:")
                     : QDir(location.folder).filePath(DeliveryLedger::FileName));
    for (TrayCommand command :
         {TrayCommand::Komunikaty, TrayCommand::Przywroc, TrayCommand::Zakoncz})
        model_.setTrayCommandEnabled(command, false);
    connect(&start_, &AgentStart::startTimerDone, &control_, &ControlServer::answerWaiting);
}

Agent::~Agent() = default;

void Agent::connectionRefused()
{
    start_.connectionRefused();
}

void Agent::sessionFailed(const std::exception& error)
{
    model_.flags().closing = true;
    errors_.showException(error);
}

void Agent::catalogueReady(bool firstTime)
{
    settings_.catalogueReady(firstTime);
    start_.claimExchangeDirectory();
}

void Agent::recordExportedDay(const QDate& day)
{
    settings_.recordExportedDay(day);
}

void Agent::showMessages()
{
    window_.showMessages();
}

void Agent::tickStarting()
{
    if (settings_.reloadChangedOutside())
        log_.WriteLog(QStringLiteral("Ustawienia zmienione poza programem zostały wczytane"));
}

void Agent::tickEnded()
{
    control_.answerWaiting();
    // What "systemctl status" shows under the unit's name.
    const QDate last = model_.settings().DataOstatniegoEksportu;
    const int failed = scheduler_.failedAttempts();
    const QString attempts = scheduler_.attemptLimitReached()
                                 ? QStringLiteral(", the attempt limit reached")
                             : failed > 0 ? QStringLiteral(", %1 failed attempt(s)").arg(failed)
                                          : QString();
    notifyServiceManager(QStringLiteral("STATUS=Last exported day %1, %2 file(s) waiting%3")
                             .arg(last.toString(Qt::ISODate))
                             .arg(ledger_.waiting().size())
                             .arg(attempts)
                             .toUtf8());
}

} // namespace tarvexio
