#include "settings_commands.h"

#include "agent_settings.h"
#include "app/setting_changes.h"
#include "config/parameter_lines.h"
#include "config/parameter_list.h"
#include "config/setting_definitions.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace tarvexio {

namespace {

void Print(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

bool IsPassword(const QString& name)
{
    const std::optional<FoundSetting> setting = FindSetting(name);
    return setting && setting->definition.kind == SettingKind::Password;
}

// What the assignments change: the parameter lines and the passwords put in the record, or
// the reasons they are refused.
struct Changes {
    QStringList lines;
    QStringList errors;
};

// A password named without "=" is read (a prompt without echo, or standard input) and coded
// as the stores code it, by the record's own writer.
void TakePassword(TKonfigEksportu& record, const FoundSetting& setting, const QString& key,
                  const std::function<QString(const QString&)>& readPassword, Changes& changes)
{
    const QString password = readPassword(key + QStringLiteral(": "));
    if (password.isEmpty())
        changes.errors << QStringLiteral("%1: no password given").arg(key);
    else if (setting.name == u"ParHasloFTP")
        record.ftp.ParHasloFTP = password;
    else
        record.ftp.ParPbkHaslo = password;
}

void TakeAssignment(TKonfigEksportu& record, const QString& assignment,
                    const std::function<QString(const QString&)>& readPassword, Changes& changes)
{
    const QString key = assignment.section(u'=', 0, 0);
    const bool assigned = assignment.contains(u'=');
    const QString value = assignment.section(u'=', 1);
    if (key == ExportTimeKey) {
        const QString refusal = assigned ? CheckExportTime(value, changes.lines)
                                         : QStringLiteral("expected %1=VALUE").arg(key);
        if (!refusal.isEmpty())
            changes.errors << QStringLiteral("%1: %2").arg(key, refusal);
        return;
    }
    const std::optional<FoundSetting> setting = FindSetting(key);
    if (!setting) {
        // A bare word may be a password typed in the wrong place: it is not repeated.
        changes.errors << (assigned
                               ? QStringLiteral("%1: no such setting").arg(key)
                               : QStringLiteral("an argument without \"=\" that names no setting"));
        return;
    }
    if (setting->definition.kind == SettingKind::Password && !assigned) {
        TakePassword(record, *setting, key, readPassword, changes);
        return;
    }
    if (!assigned) {
        changes.errors << QStringLiteral("%1: expected %1=VALUE").arg(key);
        return;
    }
    if (const QString refusal =
            CheckSettingChange(record, *setting, value, QDate::currentDate(), changes.lines);
        !refusal.isEmpty())
        changes.errors << QStringLiteral("%1: %2").arg(key, refusal);
}

// Saved in the record's save mode; the exit status.
int Save(AgentSettings& settings)
{
    TKonfigEksportu& record = settings.record();
    SettingsStores stores = settings.stores();
    if (!stores.Save(WriteParameterList(record), record.ParZapisKonfig,
                     record.ParKonfigZPliku != 0)) {
        Print(stderr, QStringLiteral("The configuration file %1 could not be written.")
                          .arg(QDir::toNativeSeparators(stores.configurationFile())));
        return 1;
    }
    const QString file = QDir::toNativeSeparators(stores.configurationFile());
    const QString where = record.ParZapisKonfig == SettingsStores::TableAndFile
                              ? QStringLiteral("the Konfig table and ") + file
                          : record.ParZapisKonfig == SettingsStores::TableOnly
                              ? QStringLiteral("the Konfig table")
                              : file;
    Print(stdout,
          QStringLiteral("Saved to %1. A running agent takes it at its next export, or at once "
                         "with: tarvexioctl send-now")
              .arg(where));
    return 0;
}

} // namespace

int ShowSettings(AgentSettings& settings, bool json)
{
    QJsonObject object;
    QStringList text{QStringLiteral("# from %1").arg(settings.source())};
    const QStringList lines = WriteParameterList(settings.record());
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = ParameterName(lines, i);
        QString value = ParameterValue(lines, i);
        if (IsPassword(name))
            value = value.isEmpty() ? QStringLiteral("(unset)") : QStringLiteral("(set)");
        else if (name == u"ParDataOstEksp")
            value += QStringLiteral(" (%1)").arg(
                DayFromNumber(settings.record().ParDataOstEksp).toString(Qt::ISODate));
        text << name + u'=' + value;
        object.insert(name, value);
    }
    if (json)
        Print(stdout, QString::fromUtf8(
                          QJsonDocument(QJsonObject{{QStringLiteral("source"), settings.source()},
                                                    {QStringLiteral("settings"), object}})
                              .toJson(QJsonDocument::Indented)));
    else
        Print(stdout, text.join(u'\n'));
    return 0;
}

int SetSettings(AgentSettings& settings, const QStringList& assignments,
                const std::function<QString(const QString&)>& readPassword)
{
    TKonfigEksportu& record = settings.record();
    Changes changes;
    for (const QString& assignment : assignments)
        TakeAssignment(record, assignment, readPassword, changes);
    if (!changes.errors.isEmpty()) {
        for (const QString& error : std::as_const(changes.errors))
            Print(stderr, error);
        Print(stderr, QStringLiteral("Nothing was changed."));
        return 2;
    }
    if (record.ParZapisKonfig < 0 || record.ParZapisKonfig > 2) {
        Print(stderr, QStringLiteral("The save mode %1 stores nothing: set config.save_mode to 0, "
                                     "1 or 2 first. Nothing was changed.")
                          .arg(record.ParZapisKonfig));
        return 2;
    }
    ReadParameterList(changes.lines, record);
    return Save(settings);
}

} // namespace tarvexio
