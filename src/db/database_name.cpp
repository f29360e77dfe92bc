#include "db/database_name.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace tarvexio {

namespace {

bool IsPostgresUrl(const QString& name)
{
    return name.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive) ||
           name.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive);
}

const QString OdbcPrefix = QStringLiteral("odbc:");

} // namespace

DatabaseTarget ParseDatabaseName(const QString& name, const QString& userIdent)
{
    DatabaseTarget target;
    if (IsPostgresUrl(name)) {
        const QUrl url(name, QUrl::StrictMode);
        target.engine = SqlEngine::PostgreSQL;
        target.host = url.host();
        target.port = url.port(-1);
        target.databaseName = url.path().mid(1);
        target.userName = url.userName().isEmpty() ? userIdent : url.userName();
        target.password = url.password();
    } else if (name.startsWith(OdbcPrefix, Qt::CaseInsensitive)) {
        target.engine = SqlEngine::ODBC;
        target.databaseName = name.mid(OdbcPrefix.size());
        target.userName = userIdent;
    } else {
        target.engine = SqlEngine::SQLite;
        target.sqlitePath =
            name.isEmpty() ? QString() : QDir::cleanPath(QDir().absoluteFilePath(name));
    }
    return target;
}

QString RedactedDatabaseName(const QString& name)
{
    if (IsPostgresUrl(name)) {
        QUrl url(name, QUrl::StrictMode);
        if (url.password().isEmpty())
            return name;
        url.setPassword(QStringLiteral("***"));
        return url.toString();
    }
    if (name.startsWith(OdbcPrefix, Qt::CaseInsensitive)) {
        static const QRegularExpression secret(QStringLiteral("\\b(PWD|PASSWORD)\\s*=\\s*[^;]*"),
                                               QRegularExpression::CaseInsensitiveOption);
        QString redacted = name;
        return redacted.replace(secret, QStringLiteral("\\1=***"));
    }
    return name;
}

} // namespace tarvexio
