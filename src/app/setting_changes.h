#pragma once

#include "config/setting_definitions.h"

#include <QDate>
#include <QJsonArray>
#include <QString>
#include <QStringList>

namespace tarvexio {

class TKonfigEksportu;

// The composite key "export.time" (HH:MM): the hour and the minute at once.
inline const QString ExportTimeKey = QStringLiteral("export.time");

// A key that names no setting, with the nearest one when one is close.
QString unknownSettingText(const QString& key);

// A new value checked as the settings window checks it (a port 1 to 65535 unticks the default
// port, an hour and a minute in range, a directory that exists, a shop that exists, a code a
// file name can hold): the parameter lines that set it are added to lines, or the reason it is
// refused comes back. A password is never taken this way.
QString checkSettingChange(const TKonfigEksportu& record, const FoundSetting& setting,
                           QString value, const QDate& today, QStringList& lines);

// "HH:MM" as the hour and the minute's parameter lines, or the reason it is refused.
QString checkExportTime(const QString& value, QStringList& lines);

// A whole "set" request: [key, value] pairs in the order given (a later one wins) and [key,
// password] pairs; each checked, all or none. The parameter lines that make the change, the keys
// it touches (for the log, never a value) and the reasons for a refusal.
struct SettingChanges {
    QStringList lines;
    QStringList keys;
    QStringList errors;
};
SettingChanges checkSettingChanges(const TKonfigEksportu& record, const QJsonArray& settings,
                                   const QJsonArray& passwords, const QDate& today);

} // namespace tarvexio
