#include "app/status_report.h"

#include "app/agent_snapshot.h"
#include "app/delivery_ledger.h"
#include "app/scheduler.h"
#include "app/upload_step.h"
#include "model/event_log.h"
#include "model/window_model.h"
#include "platform/clock.h"

#include <QCoreApplication>

namespace tarvexio {

StatusReport::StatusReport(Context context)
    : c_(context)
    , started_(c_.clock.now())
{}

QJsonObject StatusReport::snapshot(const QString& unread) const
{
    const SettingsControls& controls = c_.model.settings();
    AgentState state;
    state.settingsUnread = unread;
    state.running = true;
    state.pid = QCoreApplication::applicationPid();
    state.now = c_.clock.now();
    state.started = started_;
    state.exchangeDirectory = controls.EdKatalogWymiany;
    state.lastExported = controls.DataOstatniegoEksportu;
    state.hour = controls.CSGodzEdit;
    state.minute = controls.CSMinEdit;
    state.numbers = c_.scheduler.numbers();
    state.waitingFiles = c_.ledger.waiting();
    state.oldestWaiting = c_.ledger.oldestWaitingDay();
    state.lastFailure = c_.ledger.lastCause();
    state.failedAttempts = c_.scheduler.failedAttempts();
    state.attemptLimitReached = c_.scheduler.attemptLimitReached();
    state.recentAlerts = c_.log.recentAlerts();
    state.requestsLastLooked = c_.upload.requestsLastLooked();
    return statusSnapshot(state);
}

} // namespace tarvexio
