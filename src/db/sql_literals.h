#pragma once

#include "db/sql_engine.h"

#include <QDate>
#include <QString>

namespace tarvexio {

// Nothing reaches SQL text without passing through one of these two.

// A text as a single-quoted literal, embedded quotes doubled.
QString ToDBField(const QString& text);

// A day at midnight in the engine's form: 'YYYY-MM-DD 00:00:00' (SQLite, PostgreSQL) or
// 'YYYYMMDD 00:00:00' (ODBC, i.e. SQL Server, safe under every DATEFORMAT).
QString ToDBField(const QDate& day, SqlEngine engine);

} // namespace tarvexio
