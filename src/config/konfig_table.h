#pragma once

#include <QString>
#include <QStringList>

namespace tarvexio {

class TQMXBazaDanych;

// The agent's rows of the Konfig table, group "Tarvexio", as parameter lines. Every function
// raises EQMXDBError, its text naming the table, when the table cannot be read or written.
extern const QString KonfigGroup;

// Every row of the group as a parameter line, names and values trimmed (the readers skip
// nameless ones).
QStringList konfigTableLines(TQMXBazaDanych& session);

// The named row's value as a number; 0 unless the group has that row exactly once.
int konfigTableNumber(TQMXBazaDanych& session, const QString& name);

// Replaces the group's rows, or only the row named onlyName, with the lines' rows, in one
// transaction unless the caller has one open.
void replaceKonfigRows(TQMXBazaDanych& session, const QStringList& lines,
                       const QString& onlyName = QString());

} // namespace tarvexio
