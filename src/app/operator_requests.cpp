#include "app/operator_requests.h"

#include "app/error_report.h"
#include "app/scheduler.h"
#include "app/settings_keeper.h"
#include "app/window_and_tray.h"
#include "model/event_log.h"
#include "model/session_owner.h"

namespace tarvexio {

OperatorRequests::OperatorRequests(Context context)
    : c_(context)
{}

void OperatorRequests::workNow()
{
    // Paused (the window in use, a manual export): the request is noted, not run.
    if (c_.window.terminating() || !c_.scheduler.isRunning()) {
        c_.log.WriteLog(
            QStringLiteral("Prośba operatora o pracę teraz (tarvexioctl send-now) pominięta: "
                           "okno programu jest w użyciu albo program kończy pracę"));
        return;
    }
    c_.log.WriteLog(QStringLiteral("Praca teraz na żądanie operatora (tarvexioctl send-now)"));
    // Settings changed by the operator's tool count for this very tick (a retry opens no
    // session of its own).
    if (c_.settings.store() != nullptr) {
        try {
            const SessionLease session(c_.session);
            if (c_.session.isConnected())
                c_.settings.reloadChangedOutside();
        } catch (const std::exception& error) {
            c_.errors.showException(error);
        }
    }
    if (!c_.window.terminating())
        c_.scheduler.TimerTimer();
}

} // namespace tarvexio
