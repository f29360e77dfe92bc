#pragma once

#include "db/sql_engine.h"

#include <QString>
#include <QStringList>

namespace tarvexio {

// Where a database name points: a SQLite file path, a postgresql:// URL, or "odbc:" followed
// by a connection string or DSN.
struct DatabaseTarget {
    SqlEngine engine = SqlEngine::SQLite;
    QString sqlitePath;   // SQLite: absolute path
    QString host;         // PostgreSQL
    int port = -1;        // PostgreSQL, -1 for the default
    QString databaseName; // PostgreSQL database, or the ODBC connection string
    QString userName;     // from the name, else the user identifier
    QString password;
    QStringList options; // PostgreSQL: libpq's "keyword=value" from the URL's query, in order
    QString problem;     // what is wrong with the name, said without the password; empty if nothing
};

DatabaseTarget parseDatabaseName(const QString& name, const QString& userIdent);

// The name with any password replaced by "***", for the log and messages. Found by the name's
// syntax alone, so a name that does not parse hides its password all the same.
QString redactedDatabaseName(const QString& name);

// The name with its password left out, for what is kept between runs.
QString databaseNameWithoutPassword(const QString& name);

} // namespace tarvexio
