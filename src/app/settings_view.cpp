#include "app/settings_view.h"

#include "config/parameter_lines.h"
#include "config/parameter_list.h"
#include "config/setting_definitions.h"

#include <QJsonArray>

namespace tarvexio {

QJsonObject settingsView(const TKonfigEksportu& record, const QString& source)
{
    QJsonArray settings;
    const QStringList lines = writeParameterList(record);
    for (int i = 0; i < lines.size(); ++i) {
        const QString name = parameterName(lines, i);
        QString value = parameterValue(lines, i);
        if (const std::optional<FoundSetting> setting = findSetting(name);
            setting && setting->definition.kind == SettingKind::Password)
            value = value.isEmpty() ? QStringLiteral("(unset)") : QStringLiteral("(set)");
        settings << QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("value"), value}};
    }
    return {{QStringLiteral("source"), source}, {QStringLiteral("settings"), settings}};
}

QJsonObject settingValue(const QJsonObject& view, const QString& key)
{
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
