#include "app/settings_keeper.h"

#include "app/configuration_store.h"
#include "app/error_report.h"
#include "config/configuration_file.h"
#include "config/settings_record.h"
#include "config/settings_stores.h"
#include "model/session_owner.h"
#include "model/window_model.h"

#include <QScopeGuard>

#include <optional>

namespace tarvexio {

SettingsKeeper::SettingsKeeper(Context context)
    : c_(std::move(context))
{}

SettingsKeeper::~SettingsKeeper() = default;

TKonfigEksportu* SettingsKeeper::record() const
{
    return c_.session.record();
}

void SettingsKeeper::catalogueReady(bool firstTime)
{
    if (!store_)
        store_ = std::make_unique<ConfigurationStore>(ConfigurationStore::Context{
            *c_.session.record(), c_.model, c_.session, c_.dialogs, c_.clock, c_.autostart, c_.page,
            c_.log, configurationFilePath(c_.location.folder, c_.location.programFile),
            c_.location.programFile});
    if (firstTime)
        store_->loadAtStart();
}

void SettingsKeeper::recordExportedDay(const QDate& day)
{
    c_.model.settings().DataOstatniegoEksportu = day;
    record()->ParDataOstEksp = dayNumber(day);
    c_.model.settingsShown();
    store_->save();
}

bool SettingsKeeper::reloadChangedOutside()
{
    if (!store_ || !c_.model.flags().unattended)
        return false;
    // Most ticks find nothing changed: a session without lines, and one that does not connect
    // is left to the work that follows to report.
    const bool opens = !c_.session.isConnected();
    if (opens && !c_.session.openQuietly())
        return false;
    const auto close = qScopeGuard([&] {
        if (opens)
            c_.session.closeQuietly();
    });
    return store_->reloadIfChangedOutside();
}

QString SettingsKeeper::applyChange(const QStringList& lines)
{
    const SessionLease session(c_.session);
    store_->apply(lines);
    return storesSavedIn(record()->ParZapisKonfig,
                         configurationFilePath(c_.location.folder, c_.location.programFile));
}

void SettingsKeeper::saveConfiguration()
{
    // The record and its stores come with the first session; a save opens one if need be.
    std::optional<SessionLease> session; // closed after an error has been shown
    try {
        session.emplace(c_.session);
        if (store_)
            store_->save();
    } catch (const std::exception& error) {
        c_.errors.showException(error);
    }
}

void SettingsKeeper::BtnUstawDayeOstEkspClick()
{
    SettingsControls& controls = c_.model.settings();
    controls.DataOstatniegoEksportuEnabled = !controls.DataOstatniegoEksportuEnabled;
    controls.BtnUstawDayeOstEksp =
        controls.DataOstatniegoEksportuEnabled ? QStringLiteral("Zapisz") : QStringLiteral("Ustaw");
    c_.model.settingsShown();
    if (controls.DataOstatniegoEksportuEnabled)
        return;
    if (TKonfigEksportu* stored = record())
        stored->ParDataOstEksp = dayNumber(controls.DataOstatniegoEksportu);
    saveConfiguration();
}

} // namespace tarvexio
