#include "app/settings_view.h"

#include "config/parameter_lines.h"
#include "config/parameter_list.h"
#include "config/setting_definitions.h"
#include "config/settings_record.h"

#include <QJsonArray>

namespace tarvexio {

namespace {

QJsonValue typedValue(SettingKind kind, const QString& value)
{
    bool number = false;
    switch (kind) {
    case SettingKind::Password:
        return value.isEmpty() ? QStringLiteral("(unset)") : QStringLiteral("(set)");
    case SettingKind::Flag:
        return value.trimmed() == u"1";
    case SettingKind::Fixed:
        return true;
    case SettingKind::Port:
    case SettingKind::Hour:
    case SettingKind::Minute:
    case SettingKind::SaveMode:
        return value.trimmed().toInt();
    case SettingKind::Day:
        if (const int day = value.section(u' ', 0, 0).toInt(&number); number)
            return dayFromNumber(day).toString(Qt::ISODate);
        return value;
    case SettingKind::Text:
    case SettingKind::Directory:
    case SettingKind::Code:
        break;
    }
    return value;
}

QString keyOf(const FoundSetting& setting)
{
    return setting.definition.kind == SettingKind::Code
               ? QStringLiteral("shop.%1.code").arg(setting.shopId)
               : QString::fromLatin1(setting.definition.key);
}

} // namespace

QJsonObject settingsView(const TKonfigEksportu& record, const QString& source)
{
    QJsonArray settings;
    const QStringList lines = writeParameterList(record);
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = parameterName(lines, i);
        const std::optional<FoundSetting> setting = findSetting(name);
        if (!setting)
            continue;
        QJsonObject entry{{QStringLiteral("key"), keyOf(*setting)},
                          {QStringLiteral("name"), name},
                          {QStringLiteral("value"),
                           typedValue(setting->definition.kind, parameterValue(lines, i))}};
        if (setting->definition.kind == SettingKind::Fixed)
            entry.insert(QStringLiteral("fixed"), true);
        settings << entry;
    }
    return {{QStringLiteral("source"), source}, {QStringLiteral("settings"), settings}};
}

QString settingValueText(const QJsonValue& value)
{
    if (value.isBool())
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    if (value.isDouble())
        return QString::number(value.toInteger());
    return value.toString();
}

QJsonArray settingKeys()
{
    QJsonArray keys;
    const auto add = [&keys](const SettingDefinition& setting, const QString& key,
                             const QString& name) {
        keys << QJsonObject{
            {QStringLiteral("key"), key},
            {QStringLiteral("name"), name},
            {QStringLiteral("kind"), QString::fromLatin1(settingKindText(setting.kind))},
            {QStringLiteral("meaning"), QString::fromUtf8(setting.meaning)}};
    };
    for (const SettingDefinition& setting : settingDefinitions())
        add(setting, QString::fromLatin1(setting.key), QString::fromLatin1(setting.name));
    add(shopCodeDefinition(), QStringLiteral("shop.<id>.code"),
        ShopCodePrefix + QStringLiteral("<id>"));
    keys << QJsonObject{{QStringLiteral("key"), QStringLiteral("export.time")},
                        {QStringLiteral("name"), QStringLiteral("ParGodz, ParMin")},
                        {QStringLiteral("kind"), QStringLiteral("time (HH:MM, 00:00 to 23:59)")},
                        {QStringLiteral("meaning"),
                         QStringLiteral("the daily time: export.hour and export.minute at once")}};
    return keys;
}

QJsonObject settingValue(const QJsonObject& view, const QString& key)
{ // The daily time is two settings, shown as one.
    if (key == u"export.time") {
        const QJsonValue hour = settingValue(view, QStringLiteral("export.hour"))[u"value"];
        const QJsonValue minute = settingValue(view, QStringLiteral("export.minute"))[u"value"];
        return {{QStringLiteral("key"), key},
                {QStringLiteral("name"), QStringLiteral("ParGodz, ParMin")},
                {QStringLiteral("value"), QStringLiteral("%1:%2")
                                              .arg(hour.toInt(), 2, 10, QChar(u'0'))
                                              .arg(minute.toInt(), 2, 10, QChar(u'0'))}};
    }

    const std::optional<FoundSetting> setting = findSetting(key);
    if (!setting)
        return {};
    for (const QJsonValue entry : view.value(QStringLiteral("settings")).toArray()) {
        if (entry[QStringLiteral("name")].toString() == setting->name)
            return entry.toObject();
    }
    return {};
}

} // namespace tarvexio
