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

void warn(Dialogs& dialogs, const char* text)
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

void ConfigurationStore::loadAtStart()
{
    load(stores().readStart());
    c_.autostart.synchronise(c_.model.settings().CBAutoStart, c_.programFile,
                             c_.session.databaseName(), c_.session.userIdent(),
                             c_.model.flags().test);
}

bool ConfigurationStore::reloadIfChangedOutside()
{
    if (!stored_ || stores().startLines() == *stored_)
        return false;
    load(stores().readStart());
    return true;
}

int ConfigurationStore::readReadFromFileRow()
{
    return stores().readsFile() ? 1 : 0;
}

void ConfigurationStore::showRecord()
{
    tarvexio::showRecord(c_.record, c_.model.settings());
    c_.model.settingsShown();
    c_.page.recordShown();
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
    stored_ = stores().startLines();
}

int ConfigurationStore::loadFromTable()
{
    StartSettings table;
    table.lines = stores().tableLines();
    load(table);
    return table.lines.isEmpty() ? -1 : 1;
}

void ConfigurationStore::loadFromFile()
{
    StartSettings file;
    file.fromFile = true;
    file.load = stores().fileLines(file.lines, &file.backupRead);
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
        warn(c_.dialogs, "Odczyt konfiguracji z pliku nie powiódł się");
        return;
    case FileLoad::Loaded:
        break;
    }
    // An empty table leaves the record as it was.
    if (start.lines.isEmpty())
        return;
    readParameterList(start.lines, c_.record);
    showRecord();
}

QStringList ConfigurationStore::gatheredList()
{
    gatherControls(c_.model.settings(), c_.record);
    return writeParameterList(c_.record);
}

void ConfigurationStore::saveToTable()
{
    stores().saveTable(gatheredList());
}

void ConfigurationStore::writeReadFromFileRow()
{
    stores().writeReadsFileRow(c_.model.settings().CBKonfigZPliku);
}

void ConfigurationStore::saveToFile()
{
    if (!stores().saveFile(gatheredList()))
        warn(c_.dialogs, "Zapis konfiguracji do pliku nie powiódł się");
}

void ConfigurationStore::apply(const QStringList& lines)
{
    readParameterList(lines, c_.record);
    showRecord();
    save();
}

void ConfigurationStore::save()
{
    c_.model.setBusy(true);
    const auto idle = qScopeGuard([this] { c_.model.setBusy(false); });
    const SessionLease session(c_.session);
    const QStringList lines = gatheredList();
    if (!stores().save(lines, c_.model.settings().CBZapisKonfig, c_.record.ParKonfigZPliku != 0))
        warn(c_.dialogs, "Zapis konfiguracji do pliku nie powiódł się");
    // What this agent wrote is no change from outside.
    rememberStored();
}

} // namespace tarvexio
