#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace tarvexio {
class TQMXBazaDanych;
}

namespace tarvexio::test {

// The URL of the tests' PostgreSQL server (empty when the fixture did not run).
QString postgresUrl();

// A connected session; QFAIL-style failure is left to the caller via GetPolaczenieAktywne().
std::unique_ptr<TQMXBazaDanych> Connect(const QString& databaseName,
                                        const QString& userIdent = QStringLiteral("test"));

// A database that holds the schema and then the statements, on an engine of "sqlite" (made at
// sqlitePath), "postgresql" or "odbc" (the same server through psqlODBC); returns its name.
QString freshDatabase(const QString& engine, const QString& sqlitePath,
                      const QStringList& statements);

// The agent's settings rows as "ParNazwa=ParWartosc", by name.
QStringList konfigRows(const QString& databaseName);

} // namespace tarvexio::test
