#include "app/configuration_store.h"

#include "app/record_controls.h"
#include "app/settings_page.h"
#include "config/autostart_entry.h"
#include "config/configuration_file.h"
#include "config/parameter_list.h"
#include "config/settings_record.h"
#include "config/settings_stores.h"
#include "db/db_error.h"
#include "db/session.h"
#include "model/event_log.h"
#include "model/session_owner.h"
#include "model/window_model.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QDir>
#include <QScopeGuard>

namespace tarvexio {

namespace {

void Warn(Dialogs& dialogs, const char* text)
{
    dialogs.MsgBox({QString::fromUtf8(text), QStringLiteral("Uwaga"), MessageButtons::Ok,
                    MessageIcon::Exclamation});
}

} // namespace

ConfigurationStore::ConfigurationStore(Context context)
    : c_(std::move(context))
{}

TQMXBazaDanych& ConfigurationStore::requireSession() const
{
    TQMXBazaDanych* session = c_.session.session();
    if (session == nullptr || !session->GetPolaczenieAktywne())
        throw EQMXDBError(QString(), EQMXDBError::NotConnected);
    return *session;
}

SettingsStores ConfigurationStore::stores() const
{
    return SettingsStores(requireSession(), c_.configurationFile);
}

void ConfigurationStore::LoadAtStart()
{
    load(stores().ReadStart());
    c_.autostart.Synchronise(c_.model.settings().CBAutoStart, c_.programFile,
                             c_.session.databaseName(), c_.session.userIdent(),
                             c_.model.flags().test);
}

bool ConfigurationStore::ReloadIfChangedOutside()
{
    if (!stored_ || stores().StartLines() == *stored_)
        return false;
    c_.log.WriteLog(QStringLiteral("Ustawienia zmienione poza programem zostały wczytane"));
    load(stores().ReadStart());
    return true;
}

int ConfigurationStore::ReadReadFromFileRow()
{
    return stores().ReadsFile() ? 1 : 0;
}

void ConfigurationStore::showRecord()
{
    ShowRecord(c_.record, c_.model.settings());
    c_.model.settingsShown();
    c_.page.RecordShown();
}

void ConfigurationStore::resetBeforeLoad()
{
    const QDate today = c_.clock.now().date();
    SettingsControls& controls = c_.model.settings();
    controls.DateTimePicker1 = today;
    controls.DateTimePicker2 = today;
    showRecord();
}

void ConfigurationStore::rememberStored()
{
    stored_ = stores().StartLines();
}

int ConfigurationStore::LoadFromTable()
{
    StartSettings table;
    table.lines = stores().TableLines();
    load(table);
    return table.lines.isEmpty() ? -1 : 1;
}

void ConfigurationStore::LoadFromFile()
{
    StartSettings file;
    file.fromFile = true;
    file.load = stores().FileLines(file.lines, &file.backupRead);
    load(file);
}

void ConfigurationStore::load(const StartSettings& start)
{
    resetBeforeLoad();
    rememberStored();
    if (!start.backupRead.isEmpty())
        c_.log.WriteLog(QStringLiteral("Brak pliku konfiguracji %1: wczytano jego kopię %2")
                            .arg(QDir::toNativeSeparators(c_.configurationFile),
                                 QDir::toNativeSeparators(start.backupRead)));
    switch (start.load) {
    case FileLoad::Missing:
        return;
    case FileLoad::Failed:
        Warn(c_.dialogs, "Odczyt konfiguracji z pliku nie powiódł się");
        return;
    case FileLoad::Loaded:
        break;
    }
    // An empty table leaves the record as it was.
    if (start.lines.isEmpty())
        return;
    ReadParameterList(start.lines, c_.record);
    showRecord();
}

QStringList ConfigurationStore::gatheredList()
{
    GatherControls(c_.model.settings(), c_.record);
    return WriteParameterList(c_.record);
}

void ConfigurationStore::SaveToTable()
{
    stores().SaveTable(gatheredList());
}

void ConfigurationStore::WriteReadFromFileRow()
{
    stores().WriteReadsFileRow(c_.model.settings().CBKonfigZPliku);
}

void ConfigurationStore::SaveToFile()
{
    if (!stores().SaveFile(gatheredList()))
        Warn(c_.dialogs, "Zapis konfiguracji do pliku nie powiódł się");
}

void ConfigurationStore::Save()
{
    c_.model.setBusy(true);
    const auto idle = qScopeGuard([this] { c_.model.setBusy(false); });
    const SessionLease session(c_.session);
    const QStringList lines = gatheredList();
    if (!stores().Save(lines, c_.model.settings().CBZapisKonfig, c_.record.ParKonfigZPliku != 0))
        Warn(c_.dialogs, "Zapis konfiguracji do pliku nie powiódł się");
    // What this agent wrote is no change from outside.
    rememberStored();
}

} // namespace tarvexio
