#pragma once

#include <QJsonObject>
#include <QString>

namespace tarvexio {

class TKonfigEksportu;

// Every setting of a record as the operator's tool shows it ({"source": …, "settings": [{"name",
// "value"}, …]}), a password only as set or unset.
QJsonObject settingsView(const TKonfigEksportu& record, const QString& source);

// One setting of that view, by its parameter name or its key: {"name", "value"}, or none.
QJsonObject settingValue(const QJsonObject& view, const QString& key);

} // namespace tarvexio
