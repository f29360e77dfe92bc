#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace tarvexio {

class TKonfigEksportu;

// Every setting of a record as the operator's tool shows it ({"source": …, "settings": [{"key",
// "name", "value"}, …]}): the key set takes, the parameter's name alongside, the value typed
// (a flag true or false, a number, a day as an ISO date), a password only as set or unset.
QJsonObject settingsView(const TKonfigEksportu& record, const QString& source);

// One setting of that view, by its parameter name or its key: {"key", "name", "value"}, or none.
QJsonObject settingValue(const QJsonObject& view, const QString& key);

// A typed value as set takes it back: a flag 1 or 0, a number, a date, a text.
QString settingValueText(const QJsonValue& value);

// Every key set and get take, with its parameter name, kind and meaning; a shop's code once, as
// "shop.<id>.code".
QJsonArray settingKeys();

} // namespace tarvexio
