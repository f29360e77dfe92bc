#include "app/manual_export.h"

#include "app/delivery_ledger.h"
#include "app/error_report.h"
#include "app/scheduler.h"
#include "app/settings_keeper.h"
#include "app/settings_page.h"
#include "app/upload_step.h"
#include "export/export_progress.h"
#include "export/export_run.h"
#include "model/session_owner.h"
#include "model/window_model.h"
#include "platform/clock.h"

#include <QScopeGuard>

#include <optional>

namespace tarvexio {

ManualExport::ManualExport(Context context)
    : c_(context)
{}

void ManualExport::eksportClick()
{
    if (c_.model.page() == MainPage::Eksport && !c_.model.flags().tray)
        run();
}

void ManualExport::run()
{
    const auto resumeTimer = qScopeGuard([this] { c_.scheduler.resume(); });
    std::optional<SessionLease> session; // until the upload has run too
    QList<QDate> complete;
    try {
        session.emplace(c_.session);
        c_.scheduler.pause();
        // A refused connection has already been reported; what waits is still sent.
        if (c_.session.isConnected() && c_.settings.record() != nullptr)
            complete = exportRange();
    } catch (const std::exception& error) {
        c_.errors.showException(error);
    }
    try {
        c_.upload.SendWaitingFiles();
        recordDelivered(complete);
    } catch (const std::exception& error) {
        c_.errors.showException(error);
    }
}

QList<QDate> ManualExport::exportRange()
{
    QList<QDate> complete;
    const QDate today = c_.clock.now().date();
    const SettingsControls& controls = c_.model.settings();
    for (QDate day = controls.DateTimePicker1; day <= controls.DateTimePicker2;
         day = day.addDays(1)) {
        if (day >= today)
            continue;
        const DayExport exported =
            c_.exportRun.shopLoop(*c_.settings.record(), exportSettingsShown(c_.model), day, today,
                                  [this](const auto& procedure) {
                                      // The progress window's part: show the error, close, go on
                                      // with the next shop.
                                      try {
                                          if (progressDisplay_)
                                              progressDisplay_->Pokaz(procedure);
                                          else
                                              procedure(nullptr);
                                      } catch (const std::exception& error) {
                                          c_.errors.showException(error);
                                      }
                                  });
        if (!exported.complete())
            break;
        complete << day;
    }
    return complete;
}

// What does not go now waits in the ledger and goes with the agent's next tick.
void ManualExport::recordDelivered(const QList<QDate>& days)
{
    const TKonfigEksportu* record = c_.settings.record();
    if (record == nullptr)
        return;
    const QStringList codes = dailyShopCodes(*record);
    for (const QDate& day : days) {
        if (!c_.ledger.allDelivered(day, codes))
            return;
        c_.ledger.recorded(day);
        c_.settings.recordExportedDay(day);
    }
}

} // namespace tarvexio
