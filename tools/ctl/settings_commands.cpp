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

void print(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

bool isPassword(const QString& name)
{
    const std::optional<FoundSetting> setting = findSetting(name);
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
void takePassword(TKonfigEksportu& record, const FoundSetting& setting, const QString& key,
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

void takeAssignment(TKonfigEksportu& record, const QString& assignment,
                    const std::function<QString(const QString&)>& readPassword, Changes& changes)
{
    const QString key = assignment.section(u'=', 0, 0);
    const bool assigned = assignment.contains(u'=');
    const QString value = assignment.section(u'=', 1);
    if (key == ExportTimeKey) {
        const QString refusal = assigned ? checkExportTime(value, changes.lines)
                                         : QStringLiteral("expected %1=VALUE").arg(key);
        if (!refusal.isEmpty())
            changes.errors << QStringLiteral("%1: %2").arg(key, refusal);
        return;
    }
    const std::optional<FoundSetting> setting = findSetting(key);
    if (!setting) {
        // A bare word may be a password typed in the wrong place: it is not repeated.
        changes.errors << (assigned
                               ? QStringLiteral("%1: no such setting").arg(key)
                               : QStringLiteral("an argument without \"=\" that names no setting"));
        return;
    }
    if (setting->definition.kind == SettingKind::Password && !assigned) {
        takePassword(record, *setting, key, readPassword, changes);
        return;
    }
    if (!assigned) {
        changes.errors << QStringLiteral("%1: expected %1=VALUE").arg(key);
        return;
    }
    if (const QString refusal =
            checkSettingChange(record, *setting, value, QDate::currentDate(), changes.lines);
        !refusal.isEmpty())
        changes.errors << QStringLiteral("%1: %2").arg(key, refusal);
}

// Saved in the record's save mode; the exit status.
int save(AgentSettings& settings)
{
    TKonfigEksportu& record = settings.record();
    SettingsStores stores = settings.stores();
    if (!stores.save(writeParameterList(record), record.ParZapisKonfig,
                     record.ParKonfigZPliku != 0)) {
        print(stderr, QStringLiteral("The configuration file %1 could not be written.")
                          .arg(QDir::toNativeSeparators(stores.configurationFile())));
        return 1;
    }
    const QString file = QDir::toNativeSeparators(stores.configurationFile());
    const QString where = record.ParZapisKonfig == SettingsStores::TableAndFile
                              ? QStringLiteral("the Konfig table and ") + file
                          : record.ParZapisKonfig == SettingsStores::TableOnly
                              ? QStringLiteral("the Konfig table")
                              : file;
    print(stdout,
          QStringLiteral("Saved to %1. A running agent takes it at its next export, or at once "
                         "with: tarvexioctl send-now")
              .arg(where));
    return 0;
}

} // namespace

int showSettings(AgentSettings& settings, bool json)
{
    QJsonObject object;
    QStringList text{QStringLiteral("# from %1").arg(settings.source())};
    const QStringList lines = writeParameterList(settings.record());
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = parameterName(lines, i);
        QString value = parameterValue(lines, i);
        if (isPassword(name))
            value = value.isEmpty() ? QStringLiteral("(unset)") : QStringLiteral("(set)");
        else if (name == u"ParDataOstEksp")
            value += QStringLiteral(" (%1)").arg(
                dayFromNumber(settings.record().ParDataOstEksp).toString(Qt::ISODate));
        text << name + u'=' + value;
        object.insert(name, value);
    }
    if (json)
        print(stdout, QString::fromUtf8(
                          QJsonDocument(QJsonObject{{QStringLiteral("source"), settings.source()},
                                                    {QStringLiteral("settings"), object}})
                              .toJson(QJsonDocument::Indented)));
    else
        print(stdout, text.join(u'\n'));
    return 0;
}

int setSettings(AgentSettings& settings, const QStringList& assignments,
                const std::function<QString(const QString&)>& readPassword)
{
    TKonfigEksportu& record = settings.record();
    Changes changes;
    for (const QString& assignment : assignments)
        takeAssignment(record, assignment, readPassword, changes);
    if (!changes.errors.isEmpty()) {
        for (const QString& error : std::as_const(changes.errors))
            print(stderr, error);
        print(stderr, QStringLiteral("Nothing was changed."));
        return 2;
    }
    if (record.ParZapisKonfig < 0 || record.ParZapisKonfig > 2) {
        print(stderr, QStringLiteral("The save mode %1 stores nothing: set config.save_mode to 0, "
                                     "1 or 2 first. Nothing was changed.")
                          .arg(record.ParZapisKonfig));
        return 2;
    }
    readParameterList(changes.lines, record);
    return save(settings);
}

} // namespace tarvexio
