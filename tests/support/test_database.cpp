#include "support/test_database.h"

#include "db/query.h"
#include "db/schema.h"
#include "db/session.h"
#include "support/files.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>
#include <QVariant>

#include <stdexcept>

namespace tarvexio::test {

namespace {

// A SQLite file with the shipped schema.
void createSqliteDatabase(const QString& path)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
        QSqlQuery query(db);
        for (const QString& statement : schemaStatements(SqlEngine::SQLite)) {
            if (!query.exec(statement))
                throw std::runtime_error(query.lastError().text().toStdString());
        }
    }
    QSqlDatabase::removeDatabase(name);
}

// The same server as an ODBC name through psqlODBC.
QString odbcName(const QString& postgresUrl)
{
    const QUrl url(postgresUrl);
    return QStringLiteral("odbc:Driver={PostgreSQL Unicode};Server=%1;Port=%2;Database=%3;Uid=%4")
        .arg(url.host())
        .arg(url.port())
        .arg(url.path().mid(1), url.userName());
}

// Tests that CTest runs side by side would drop each other's tables in one database: each
// test (named by CTest) gets a database of its own, made on first use.
QString createOwnDatabase(const QString& clusterUrl)
{
    QString test = qEnvironmentVariable("TARVEXIO_TEST_NAME", QCoreApplication::applicationName());
    const QString database =
        QStringLiteral("tarvexio_") +
        test.toLower().replace(QRegularExpression(QStringLiteral("[^a-z0-9_]")),
                               QStringLiteral("_"));
    const QUrl cluster(clusterUrl);
    const QString connection = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        db.setHostName(cluster.host());
        db.setPort(cluster.port());
        db.setUserName(cluster.userName());
        db.setDatabaseName(cluster.path().mid(1));
        if (!db.open())
            throw std::runtime_error(db.lastError().text().toStdString());
        QSqlQuery query(db);
        query.exec(QStringLiteral("select 1 from pg_database where datname = '%1'").arg(database));
        if (!query.next() && !query.exec(QStringLiteral("create database %1").arg(database)))
            throw std::runtime_error(query.lastError().text().toStdString());
    }
    QSqlDatabase::removeDatabase(connection);
    QUrl own(cluster);
    own.setPath(u'/' + database);
    return own.toString();
}

} // namespace

QString postgresUrl()
{
    static const QString url = [] {
        // The cluster's own maintenance database, as the fixture wrote it.
        const QString cluster =
            QString::fromUtf8(readFile(qEnvironmentVariable("TARVEXIO_TEST_PG_URL_FILE")))
                .trimmed();
        return cluster.isEmpty() ? cluster : createOwnDatabase(cluster);
    }();
    return url;
}

std::unique_ptr<TQMXBazaDanych> Connect(const QString& databaseName, const QString& userIdent)
{
    auto session = std::make_unique<TQMXBazaDanych>(4, QStringLiteral("1.0.0.0"), 0);
    session->PolaczBezOkna(databaseName, userIdent, true);
    return session;
}

QString freshDatabase(const QString& engine, const QString& sqlitePath,
                      const QStringList& statements)
{
    QString name = sqlitePath;
    if (engine == u"sqlite") {
        QFile::remove(sqlitePath);
        createSqliteDatabase(sqlitePath);
    } else {
        name = postgresUrl();
        auto session = Connect(name);
        session->ExecSQL(QStringLiteral("drop schema if exists public cascade"));
        session->ExecSQL(QStringLiteral("create schema public"));
        createSchema(*session);
    }
    auto session = Connect(name);
    for (const QString& statement : statements)
        session->ExecSQL(statement);
    return engine == u"odbc" ? odbcName(name) : name;
}

QStringList konfigRows(const QString& databaseName)
{
    auto session = Connect(databaseName);
    TKMQuery query;
    session->PowiazQuery(query);
    query.setSql(QStringLiteral("select ParNazwa, ParWartosc from Konfig where "
                                "ParGrupa='Tarvexio' order by ParNazwa"));
    query.Open();
    QStringList rows;
    for (; !query.Eof(); query.Next())
        rows << query.FieldByName(QStringLiteral("ParNazwa")).GetAsString() + u'=' +
                    query.FieldByName(QStringLiteral("ParWartosc")).GetAsString();
    return rows;
}

} // namespace tarvexio::test
