#include "config/configuration_store.h"

#include "config/autostart_entry.h"
#include "config/configuration_file.h"
#include "config/parameter_lines.h"
#include "config/parameter_list.h"
#include "config/record_controls.h"
#include "config/settings_record.h"
#include "db/db_error.h"
#include "db/query.h"
#include "db/session.h"
#include "db/sql_literals.h"
#include "model/session_owner.h"
#include "model/window_model.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

namespace tarvexio {

const QString ConfigurationStore::Group = QStringLiteral("Tarvexio");

namespace {

const QString ReadFromFileName = QStringLiteral("ParKonfigZPliku");

QString InsertStatement(const QString& name, const QString& value)
{
    return QStringLiteral("insert into Konfig (ParGrupa, ParNazwa, ParWartosc)\r\n") +
           QStringLiteral("values (%1, %2, %3)")
               .arg(ToDBField(ConfigurationStore::Group), ToDBField(name), ToDBField(value));
}

// The statement's own text says little to an operator; say which store failed.
[[noreturn]] void TableFailed(const EQMXDBError& error)
{
    throw EQMXDBError(QStringLiteral("Tabela konfiguracji Konfig jest niedostępna: %1")
                          .arg(QString::fromUtf8(error.what())),
                      error.code());
}

void Warn(Dialogs& dialogs, const char* text)
{
    dialogs.MsgBox({QString::fromUtf8(text), QStringLiteral("Uwaga"), MessageButtons::Ok,
                    MessageIcon::Exclamation});
}

// The write pattern: a transaction of our own unless the caller has one open.
template <typename Work> void InTransaction(TQMXBazaDanych& session, Work work)
{
    const bool started = !session.GetCzyWTransakcji();
    if (started)
        session.StartTransakcji();
    try {
        work();
        if (started)
            session.KoniecTransakcji();
    } catch (...) {
        if (started)
            session.WycofTransakcji();
        throw;
    }
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
    TQMXBazaDanych& session = requireSession();
    TKMQuery query;
    session.PowiazQuery(query);
    query.SetSQL(QStringLiteral("select ParNazwa, ParWartosc from Konfig where ParGrupa = %1 "
                                "and ParNazwa = %2")
                     .arg(ToDBField(Group), ToDBField(ReadFromFileName)));
    try {
        query.Open();
        if (query.GetCount() != 1)
            return 0;
        return ParameterNumber(query.FieldByName(QStringLiteral("ParWartosc")).GetAsString(), 0);
    } catch (const EQMXDBError& error) {
        TableFailed(error);
    }
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

QStringList KonfigTableLines(TQMXBazaDanych& session)
{
    QStringList lines;
    TKMQuery query;
    session.PowiazQuery(query);
    query.SetSQL(QStringLiteral("select ParNazwa, ParWartosc from Konfig where ParGrupa = %1")
                     .arg(ToDBField(ConfigurationStore::Group)));
    try {
        query.Open();
        const TMField name = query.FieldByName(QStringLiteral("ParNazwa"));
        const TMField value = query.FieldByName(QStringLiteral("ParWartosc"));
        for (; !query.Eof(); query.Next()) {
            // A nameless row still counts as a row of the group.
            const QString trimmedName = TrimmedParameterText(name.GetAsString());
            AddParameterLine(lines, trimmedName, TrimmedParameterText(value.GetAsString()));
        }
    } catch (const EQMXDBError& error) {
        TableFailed(error);
    }
    return lines;
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

void ConfigurationStore::replaceGroupRows(const QStringList& lines, const QString& onlyName)
{
    TQMXBazaDanych& session = requireSession();
    QString deletion =
        QStringLiteral("delete from Konfig where ParGrupa = %1").arg(ToDBField(Group));
    if (!onlyName.isEmpty())
        deletion += QStringLiteral(" and ParNazwa = %1").arg(ToDBField(onlyName));
    try {
        InTransaction(session, [&] {
            session.ExecSQL(deletion);
            for (int i = 0; i < lines.size(); ++i) {
                const QString name = ParameterName(lines, i);
                if (!name.isEmpty())
                    session.ExecSQL(InsertStatement(name, ParameterValue(lines, i)));
            }
        });
    } catch (const EQMXDBError& error) {
        TableFailed(error);
    }
}

void ConfigurationStore::SaveToTable()
{
    requireSession();
    replaceGroupRows(gatheredList(), QString());
}

void ConfigurationStore::WriteReadFromFileRow()
{
    QStringList lines;
    AddParameterLine(lines, ReadFromFileName,
                     c_.model.settings().CBKonfigZPliku ? QStringLiteral("1")
                                                        : QStringLiteral("0"));
    replaceGroupRows(lines, ReadFromFileName);
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
