#include "app/setting_changes.h"

#include "app/day_rule.h"
#include "config/parameter_lines.h"
#include "config/settings_record.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace tarvexio {

namespace {

bool InRange(const QString& text, int low, int high, int& value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

// A number from low to high, or why not.
QString CheckNumber(const QString& value, int low, int high, const char* refusal)
{
    int number = 0;
    return InRange(value, low, high, number) ? QString() : QString::fromUtf8(refusal);
}

QString CheckFlag(const QString& name, const QString& value, QStringList& lines)
{
    if (value != u"0" && value != u"1")
        return QStringLiteral("expected 0 or 1");
    if (name == u"ParDomyslnyPortFTP" && value == u"1")
        AddParameterLine(lines, QStringLiteral("ParPortFTP"), QString::number(DefaultFtpPort));
    return {};
}

QString CheckDay(QString& value, const QDate& today)
{
    const QDate day = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        return QStringLiteral("expected YYYY-MM-DD");
    // The agent would take a day outside these as none exported, and start from 1899.
    if (!SensibleLastExportedDay(day, today))
        return QStringLiteral("a day from 1899-12-30 to a year from today");
    value = QString::number(DayNumber(day));
    return {};
}

QString CheckDirectory(QString& value)
{
    if (!QFileInfo(value).isDir())
        return QStringLiteral("no such directory");
    value = WithoutTrailingSeparator(QFileInfo(value).absoluteFilePath());
    return {};
}

QString CheckCode(const TKonfigEksportu& record, qint32 shop, const QString& value)
{
    if (!record.PositionOfShop(shop))
        return QStringLiteral("no shop with that id in the database");
    // The code names the data files: nothing a file name cannot hold.
    if (value.contains(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|\\s]"))))
        return QStringLiteral("a code cannot hold spaces or / \\ : * ? \" < > |");
    return {};
}

// The refusal, or none with value in its stored form.
QString CheckValue(const TKonfigEksportu& record, const FoundSetting& setting, QString& value,
                   const QDate& today, QStringList& lines)
{
    switch (setting.definition.kind) {
    case SettingKind::Password:
        return QStringLiteral("a password is read from standard input, never from the command "
                              "line: give the key without \"=\"");
    case SettingKind::Port:
        if (const QString refusal =
                CheckNumber(value, 1, 65535, "a port is a number from 1 to 65535");
            !refusal.isEmpty())
            return refusal;
        // As typing a port in the window: the default-port box must be unticked for it to count.
        AddParameterLine(lines, QStringLiteral("ParDomyslnyPortFTP"), QStringLiteral("0"));
        return {};
    case SettingKind::Flag:
        return CheckFlag(setting.name, value, lines);
    case SettingKind::SaveMode:
        return CheckNumber(value, 0, 2, "0 (table and file), 1 (table) or 2 (file)");
    case SettingKind::Hour:
        return CheckNumber(value, 0, 23, "an hour is a number from 0 to 23");
    case SettingKind::Minute:
        return CheckNumber(value, 0, 59, "a minute is a number from 0 to 59");
    case SettingKind::Day:
        return CheckDay(value, today);
    case SettingKind::Directory:
        return CheckDirectory(value);
    case SettingKind::Code:
        return CheckCode(record, setting.shopId, value);
    case SettingKind::Text:
        // The window's field holds ten characters.
        if (setting.name == u"ParSerwis_IT" && value.size() > 10)
            return QStringLiteral("at most 10 characters");
        return {};
    }
    return {};
}

} // namespace

QString CheckSettingChange(const TKonfigEksportu& record, const FoundSetting& setting,
                           QString value, const QDate& today, QStringList& lines)
{
    // The stores skip an empty value: it would change nothing.
    if (value.isEmpty() && setting.definition.kind != SettingKind::Password)
        return QStringLiteral("an empty value changes nothing (the stores skip it)");
    if (const QString refusal = CheckValue(record, setting, value, today, lines);
        !refusal.isEmpty())
        return refusal;
    AddParameterLine(lines, setting.name, value);
    return {};
}

QString CheckExportTime(const QString& value, QStringList& lines)
{
    int hour = 0;
    int minute = 0;
    if (!InRange(value.section(u':', 0, 0), 0, 23, hour) || value.count(u':') != 1 ||
        !InRange(value.section(u':', 1), 0, 59, minute))
        return QStringLiteral("expected HH:MM, 00:00 to 23:59");
    AddParameterLine(lines, QStringLiteral("ParGodz"), QString::number(hour));
    AddParameterLine(lines, QStringLiteral("ParMin"), QString::number(minute));
    return {};
}

} // namespace tarvexio
