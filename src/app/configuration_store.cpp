#include "app/configuration_store.h"

#include "app/record_controls.h"
#include "config/autostart_entry.h"
#include "config/configuration_file.h"
#include "config/konfig_table.h"
#include "config/parameter_lines.h"
#include "config/parameter_list.h"
#include "config/settings_record.h"
#include "db/db_error.h"
#include "db/session.h"
#include "model/session_owner.h"
#include "model/window_model.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

namespace tarvexio {

namespace {

const QString ReadFromFileName = QStringLiteral("ParKonfigZPliku");

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

void ConfigurationStore::LoadAtStart()
{
    if (ReadReadFromFileRow() != 0)
        LoadFromFile();
    else
        LoadFromTable();
    c_.autostart.Synchronise(c_.model.settings().CBAutoStart, c_.programFile,
                             c_.session.databaseName(), c_.session.userIdent(),
                             c_.model.flags().test);
}

int ConfigurationStore::ReadReadFromFileRow()
{
    return KonfigTableNumber(requireSession(), ReadFromFileName);
}

void ConfigurationStore::showRecord()
{
    ShowRecord(c_.record, c_.model.settings());
    c_.model.settingsShown();
    if (c_.recordShown)
        c_.recordShown();
}

void ConfigurationStore::resetBeforeLoad()
{
    const QDate today = c_.clock.now().date();
    SettingsControls& controls = c_.model.settings();
    controls.DateTimePicker1 = today;
    controls.DateTimePicker2 = today;
    showRecord();
}

int ConfigurationStore::LoadFromTable()
{
    resetBeforeLoad();
    const QStringList lines = KonfigTableLines(requireSession());
    if (lines.isEmpty())
        return -1;
    ReadParameterList(lines, c_.record);
    showRecord();
    return 1;
}

QStringList ConfigurationStore::gatheredList()
{
    GatherControls(c_.model.settings(), c_.record);
    return WriteParameterList(c_.record);
}

void ConfigurationStore::SaveToTable()
{
    ReplaceKonfigRows(requireSession(), gatheredList());
}

void ConfigurationStore::WriteReadFromFileRow()
{
    QStringList lines;
    AddParameterLine(lines, ReadFromFileName,
                     c_.model.settings().CBKonfigZPliku ? QStringLiteral("1")
                                                        : QStringLiteral("0"));
    ReplaceKonfigRows(requireSession(), lines, ReadFromFileName);
}

void ConfigurationStore::LoadFromFile()
{
    resetBeforeLoad();
    // A save stopped between the backup's rename and the new file's write leaves the backup
    // alone: it is the configuration, not a reason to start on defaults.
    QString path = c_.configurationFile;
    if (const QString backup = BackupPath(path);
        !QFileInfo::exists(path) && QFileInfo::exists(backup)) {
        c_.log(QStringLiteral("Brak pliku konfiguracji %1: wczytano jego kopię %2")
                   .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(backup)));
        path = backup;
    }
    QStringList lines;
    switch (LoadParameterFile(path, lines)) {
    case FileLoad::Missing:
        return;
    case FileLoad::Failed:
        Warn(c_.dialogs, "Odczyt konfiguracji z pliku nie powiódł się");
        return;
    case FileLoad::Loaded:
        break;
    }
    ReadParameterList(lines, c_.record);
    showRecord();
}

void ConfigurationStore::SaveToFile()
{
    if (!SaveParameterFile(c_.configurationFile, gatheredList()))
        Warn(c_.dialogs, "Zapis konfiguracji do pliku nie powiódł się");
}

void ConfigurationStore::Save()
{
    c_.model.setBusy(true);
    const auto idle = qScopeGuard([this] { c_.model.setBusy(false); });
    const SessionLease session(c_.session);
    saveInMode(c_.model.settings().CBZapisKonfig);
}

void ConfigurationStore::saveInMode(int mode)
{
    switch (mode) {
    case TableAndFile:
        SaveToTable();
        SaveToFile();
        break;
    case TableOnly:
        SaveToTable();
        break;
    case FileOnly:
        SaveToFile();
        WriteReadFromFileRow();
        break;
    default: // an index the drop-down does not have saves nothing
        break;
    }
}

} // namespace tarvexio
