#include "app/error_report.h"

#include "app/logging.h"
#include "model/event_log.h"
#include "model/window_model.h"
#include "platform/dialogs.h"

namespace tarvexio {

ExceptionDisplay::ExceptionDisplay(const WindowModel& model, Dialogs& dialogs, EventLog& log)
    : model_(model)
    , dialogs_(dialogs)
    , log_(log)
{}

void ExceptionDisplay::showException(const std::exception& error)
{
    if (!model_.flags().unattended) {
        dialogs_.ShowExceptionNow(error);
        return;
    }
    try {
        log_.WriteLog(QStringLiteral("Błąd: %1").arg(exceptionText(error)), true);
    } catch (const std::exception& logError) {
        // The log is what failed: the box is the only way left to tell.
        qCWarning(lcApp) << logError.what();
        dialogs_.ShowExceptionNow(error);
    }
}

} // namespace tarvexio
