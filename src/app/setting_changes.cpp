#include "app/setting_changes.h"

#include "app/command_line.h"
#include "app/day_rule.h"
#include "config/parameter_lines.h"
#include "config/password_coding.h"
#include "config/settings_record.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace tarvexio {

namespace {

bool inRange(const QString& text, int low, int high, int& value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

// A number from low to high, or why not.
QString checkNumber(const QString& value, int low, int high, const char* refusal)
{
    int number = 0;
    return inRange(value, low, high, number) ? QString() : QString::fromUtf8(refusal);
}

QString checkFlag(const QString& name, const QString& value, QStringList& lines)
{
    if (value != u"0" && value != u"1")
        return QStringLiteral("expected 0 or 1");
    if (name == u"ParDomyslnyPortFTP" && value == u"1")
        addParameterLine(lines, QStringLiteral("ParPortFTP"), QString::number(DefaultFtpPort));
    return {};
}

QString checkDay(QString& value, const QDate& today)
{
    const QDate day = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        return QStringLiteral("expected YYYY-MM-DD");
    // The agent would take a day outside these as none exported, and start from 1899.
    if (!sensibleLastExportedDay(day, today))
        return QStringLiteral("a day from 1899-12-30 to a year from today");
    value = QString::number(dayNumber(day));
    return {};
}

QString checkDirectory(QString& value)
{
    if (!QFileInfo(value).isDir())
        return QStringLiteral("no such directory");
    value = withoutTrailingSeparator(QFileInfo(value).absoluteFilePath());
    return {};
}

QString checkCode(const TKonfigEksportu& record, qint32 shop, const QString& value)
{
    if (!record.positionOfShop(shop))
        return QStringLiteral("no shop with that id in the database");
    // The code names the data files: nothing a file name cannot hold.
    if (value.contains(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|\\s]"))))
        return QStringLiteral("a code cannot hold spaces or / \\ : * ? \" < > |");
    return {};
}

// The refusal, or none with value in its stored form.
QString checkValue(const TKonfigEksportu& record, const FoundSetting& setting, QString& value,
                   const QDate& today, QStringList& lines)
{
    switch (setting.definition.kind) {
    case SettingKind::Password:
        return QStringLiteral("a password is read from standard input, never from the command "
                              "line: give the key without \"=\"");
    case SettingKind::Port:
        if (QString refusal = checkNumber(value, 1, 65535, "a port is a number from 1 to 65535");
            !refusal.isEmpty())
            return refusal;
        // As typing a port in the window: the default-port box must be unticked for it to count.
        addParameterLine(lines, QStringLiteral("ParDomyslnyPortFTP"), QStringLiteral("0"));
        return {};
    case SettingKind::Flag:
        return checkFlag(setting.name, value, lines);
    case SettingKind::SaveMode:
        return checkNumber(value, 0, 2, "0 (table and file), 1 (table) or 2 (file)");
    case SettingKind::Hour:
        return checkNumber(value, 0, 23, "an hour is a number from 0 to 23");
    case SettingKind::Minute:
        return checkNumber(value, 0, 59, "a minute is a number from 0 to 59");
    case SettingKind::Day:
        return checkDay(value, today);
    case SettingKind::Directory:
        return checkDirectory(value);
    case SettingKind::Code:
        return checkCode(record, setting.shopId, value);
    case SettingKind::Fixed:
        return QStringLiteral("fixed: the agent always uses passive data connections");
    case SettingKind::Text:
        // The window's field holds ten characters.
        if (setting.name == u"ParSerwis_IT" && value.size() > 10)
            return QStringLiteral("at most 10 characters");
        return {};
    }
    return {};
}

} // namespace

QString unknownSettingText(const QString& key)
{
    QStringList keys{ExportTimeKey};
    for (const SettingDefinition& setting : settingDefinitions())
        keys << QString::fromLatin1(setting.key) << QString::fromLatin1(setting.name);
    const QString nearest = nearestWord(key, keys);
    return nearest.isEmpty() ? QStringLiteral("no such setting")
                             : QStringLiteral("no such setting (did you mean %1?)").arg(nearest);
}

QString checkSettingChange(const TKonfigEksportu& record, const FoundSetting& setting,
                           QString value, const QDate& today, QStringList& lines)
{
    // The stores skip an empty value: it would change nothing.
    if (value.isEmpty() && setting.definition.kind != SettingKind::Password)
        return QStringLiteral("an empty value changes nothing (the stores skip it)");
    if (QString refusal = checkValue(record, setting, value, today, lines); !refusal.isEmpty())
        return refusal;
    addParameterLine(lines, setting.name, value);
    return {};
}

QString checkExportTime(const QString& value, QStringList& lines)
{
    int hour = 0;
    int minute = 0;
    if (!inRange(value.section(u':', 0, 0), 0, 23, hour) || value.count(u':') != 1 ||
        !inRange(value.section(u':', 1), 0, 59, minute))
        return QStringLiteral("expected HH:MM, 00:00 to 23:59");
    addParameterLine(lines, QStringLiteral("ParGodz"), QString::number(hour));
    addParameterLine(lines, QStringLiteral("ParMin"), QString::number(minute));
    return {};
}

SettingChanges checkSettingChanges(const TKonfigEksportu& record, const QJsonArray& settings,
                                   const QJsonArray& passwords, const QDate& today)
{
    SettingChanges changes;
    for (const QJsonValue pair : settings) {
        const QString key = pair[0].toString();
        const QString value = pair[1].toString();
        changes.keys << key;
        const std::optional<FoundSetting> setting = findSetting(key);
        QString refusal;
        if (key == ExportTimeKey)
            refusal = checkExportTime(value, changes.lines);
        else if (!setting)
            refusal = unknownSettingText(key);
        else
            refusal = checkSettingChange(record, *setting, value, today, changes.lines);
        if (!refusal.isEmpty())
            changes.errors << QStringLiteral("%1: %2").arg(key, refusal);
    }
    for (const QJsonValue pair : passwords) {
        const QString key = pair[0].toString();
        const std::optional<FoundSetting> setting = findSetting(key);
        changes.keys << key;
        if (!setting || setting->definition.kind != SettingKind::Password)
            changes.errors << QStringLiteral("%1: not a password").arg(key);
        else if (pair[1].toString().isEmpty())
            changes.errors << QStringLiteral("%1: no password given").arg(key);
        else // coded, as the stores keep it
            addParameterLine(changes.lines, setting->name, KodowanieHasla(pair[1].toString()));
    }
    if (record.ParZapisKonfig < 0 || record.ParZapisKonfig > 2)
        changes.errors << QStringLiteral("the save mode %1 stores nothing: set config.save_mode "
                                         "to 0, 1 or 2 first")
                              .arg(record.ParZapisKonfig);
    return changes;
}

} // namespace tarvexio
