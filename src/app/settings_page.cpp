#include "app/settings_page.h"

#include "app/record_controls.h"
#include "app/record_source.h"
#include "config/autostart_entry.h"
#include "config/parameter_lines.h"
#include "config/settings_record.h"
#include "model/session_owner.h"
#include "model/window_model.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "transport/dial_up_backend.h"

#include <QFileInfo>

namespace tarvexio {

SettingsPage::SettingsPage(Context context)
    : c_(std::move(context))
{}

void SettingsPage::SBKatalogEksportuClick()
{
    if (windows_ == nullptr)
        return;
    SettingsControls& controls = c_.model.settings();
    if (const std::optional<QString> chosen =
            windows_->chooseDirectory(controls.EdKatalogWymiany)) {
        controls.EdKatalogWymiany = *chosen;
        c_.model.settingsShown();
    }
}

void SettingsPage::SBKodyKVRClick()
{
    // The configuration is loaded: a new session only reloads the shop lists.
    c_.session.ReopenSession();
    TKonfigEksportu* record = c_.record.record();
    if (c_.session.isConnected() && record != nullptr && windows_ != nullptr)
        windows_->editShopCodes(*record);
    c_.session.CloseSession();
}

void SettingsPage::CbPlikPBKClick()
{
    applyEnablingRules(c_.model.settings());
    c_.model.settingsShown();
}

void SettingsPage::SbPlikPBKClick()
{
    if (windows_ == nullptr)
        return;
    SettingsControls& controls = c_.model.settings();
    const QString folder = controls.EdPlikPBK.isEmpty()
                               ? commonPhonebookFolder().value_or(QString())
                               : QFileInfo(controls.EdPlikPBK).path();
    if (const std::optional<QString> file = windows_->choosePhonebookFile(folder)) {
        controls.EdPlikPBK = *file;
        c_.model.settingsShown();
    }
}

void SettingsPage::cb_PbkCzyModemClick()
{
    SettingsControls& controls = c_.model.settings();
    applyEnablingRules(controls);
    if (controls.cb_PbkCzyModem)
        readPhonebookEntries();
    c_.model.settingsShown();
}

void SettingsPage::cb_DomyslnyPortFTPClick()
{
    applyEnablingRules(c_.model.settings());
    c_.model.settingsShown();
    // The box changed the field: the next upload and connection test use what it shows.
    ed_portFTPChange();
}

void SettingsPage::ed_portFTPChange()
{
    TKonfigEksportu* record = c_.record.record();
    if (!c_.session.configurationLoaded() || record == nullptr)
        return;
    record->ftp.ParPortFTP = parameterNumber(c_.model.settings().ed_portFTP, DefaultFtpPort);
}

void SettingsPage::CBAutoStartClick()
{
    if (c_.model.settings().CBAutoStart)
        c_.autostart.write(c_.programFile, c_.session.databaseName(), c_.session.userIdent(),
                           c_.model.flags().test);
    else
        c_.autostart.Delete();
}

void SettingsPage::readPhonebookEntries()
{
    SettingsControls& controls = c_.model.settings();
    controls.pbkEntries.clear();
    const std::optional<QStringList> entries = c_.dialUp.entries(controls.EdPlikPBK);
    if (!entries) {
        if (!controls.EdPlikPBK.isEmpty())
            c_.dialogs.MsgBox({QStringLiteral("Błąd odczytu wpisów w PBK"), QString()});
        c_.model.settingsShown();
        return;
    }
    controls.pbkEntries = *entries;
    if (!controls.pbkEntries.contains(controls.Cb_PbkEntry))
        controls.Cb_PbkEntry = controls.pbkEntries.value(0);
    c_.model.settingsShown();
}

void SettingsPage::recordShown()
{
    const SettingsControls& controls = c_.model.settings();
    if (controls.cb_PbkCzyModem || !controls.Cb_PbkEntry.isEmpty())
        readPhonebookEntries();
}

ExportSettings exportSettingsShown(const WindowModel& model)
{
    return {model.settings().EdKatalogWymiany, model.settings().consent, model.flags().unattended};
}

} // namespace tarvexio
