#include "db/schema.h"

#include "db/db_error.h"
#include "db/session.h"

#include <QFile>

namespace tarvexio {

QStringList schemaStatements(SqlEngine engine)
{
    const QString resource = engine == SqlEngine::PostgreSQL
                                 ? QStringLiteral(":/tarvexio/schema/postgresql.sql")
                                 : QStringLiteral(":/tarvexio/schema/sqlite.sql");
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        throw EQMXDBError(QStringLiteral("Brak schematu bazy %1").arg(resource));
    QStringList statements;
    QString current;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.trimmed().startsWith(QStringLiteral("--")))
            continue;
        current += line + u'\n';
        if (line.trimmed().endsWith(u';')) {
            statements.append(current.trimmed().chopped(1));
            current.clear();
        }
    }
    return statements;
}

void createSchema(TQMXBazaDanych& session)
{
    session.StartTransakcji();
    try {
        for (const QString& statement : schemaStatements(session.getSilnik()))
            session.ExecSQL(statement);
        session.KoniecTransakcji();
    } catch (...) {
        session.WycofTransakcji();
        throw;
    }
}

} // namespace tarvexio
