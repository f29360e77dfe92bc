#pragma once

#include <QString>
#include <QVector>

#include <memory>

namespace tarvexio {
class TQMXBazaDanych;
}

namespace tarvexio::test {

// Creates a SQLite file with the shipped schema and the given shops (id, name).
void CreateSqliteDatabase(const QString& path, const QVector<QPair<int, QString>>& shops = {});

// The URL of the tests' PostgreSQL server (empty when the fixture did not run).
QString PostgresUrl();

// The same server as an ODBC name through psqlODBC.
QString OdbcName(const QString& postgresUrl);

// A connected session; QFAIL-style failure is left to the caller via GetPolaczenieAktywne().
std::unique_ptr<TQMXBazaDanych> Connect(const QString& databaseName,
                                        const QString& userIdent = QStringLiteral("test"));

// Drops and recreates the schema in the tests' PostgreSQL database.
void ResetPostgresSchema(TQMXBazaDanych& session);

} // namespace tarvexio::test
