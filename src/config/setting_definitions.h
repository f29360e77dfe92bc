#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <span>

namespace tarvexio {

// What a setting holds, and so which values it takes.
enum class SettingKind {
    Text,      // any text (ParSerwis_IT at most 10 characters)
    Directory, // an existing folder
    Flag,      // 0 or 1
    Port,      // 1 to 65535
    Hour,      // 0 to 23
    Minute,    // 0 to 59
    SaveMode,  // 0 (table and file), 1 (table), 2 (file)
    Day,       // the last exported day, a date
    Password,  // coded in the stores, read from standard input by the tool
    Code,      // a shop's code at the service (ParKodKVR#<shop id>)
    Fixed,     // always 1, whatever is stored: shown, never set (passive mode)
};

// The kind as the operator's tool lists it: its type and the values it takes.
const char* settingKindText(SettingKind kind);

// One stored setting: the parameter's own name, the readable key of the operator's tool, its
// kind and what it means.
struct SettingDefinition {
    const char* name;
    const char* key;
    SettingKind kind;
    const char* meaning;
};

// Every stored setting but the shops' codes, in the order the stores keep them.
std::span<const SettingDefinition> settingDefinitions();

// The shops' codes: "ParKodKVR#<id>", key "shop.<id>.code".
inline const QString ShopCodePrefix = QStringLiteral("ParKodKVR#");
SettingDefinition shopCodeDefinition();

// A setting by its parameter name or its key; the consent boxes also as "consent." and their
// parameter name. A shop's code by either of its names, with the shop's id.
struct FoundSetting {
    SettingDefinition definition;
    QString name;      // the parameter's name ("ParKodKVR#7" for a code)
    qint32 shopId = 0; // for a code
};
std::optional<FoundSetting> findSetting(QStringView nameOrKey);

} // namespace tarvexio
