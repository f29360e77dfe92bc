#include "db/session.h"

#include "db/database_name.h"
#include "db/db_error.h"
#include "db/logging.h"
#include "db/query.h"
#include "db/sql_literals.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

namespace tarvexio {

namespace {

const char* driverFor(SqlEngine engine)
{
    switch (engine) {
    case SqlEngine::PostgreSQL:
        return "QPSQL";
    case SqlEngine::ODBC:
        return "QODBC";
    case SqlEngine::SQLite:
        break;
    }
    return "QSQLITE";
}

QString sqliteUri(const QString& path)
{
    // mode=rw: a missing file must fail, never become a new empty database.
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw");
}

} // namespace

// The kind, version and options of a session are the closed layer's; this one needs none.
TQMXBazaDanych::TQMXBazaDanych(int /*kind*/, const QString& /*version*/, int /*options*/)
    : connectionName_(QStringLiteral("tarvexio-") +
                      QUuid::createUuid().toString(QUuid::WithoutBraces))
{}

TQMXBazaDanych::~TQMXBazaDanych()
{
    Odlacz();
}

void TQMXBazaDanych::PolaczBezOkna(const QString& databaseName, const QString& userIdent,
                                   bool /*silent*/)
{
    Odlacz();
    databaseName_ = databaseName;
    userIdent_ = userIdent;
    lastError_.clear();
    connected_ = open();
}

namespace {

// Why a SQLite name cannot be opened as a database file; empty when it can be tried.
QString sqliteFileProblem(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("plik bazy nie istnieje: %1").arg(path);
    if (!file.isFile())
        return QStringLiteral("nazwa bazy wskazuje katalog, nie plik: %1").arg(path);
    return {};
}

void configure(QSqlDatabase& db, const DatabaseTarget& target)
{
    switch (target.engine) {
    case SqlEngine::SQLite:
        db.setDatabaseName(sqliteUri(target.sqlitePath));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        break;
    case SqlEngine::PostgreSQL:
        db.setHostName(target.host);
        if (target.port > 0)
            db.setPort(target.port);
        db.setDatabaseName(target.databaseName);
        db.setUserName(target.userName);
        db.setPassword(target.password);
        {
            // An unreachable server must not hang the agent's tick.
            QStringList options = target.options;
            if (!options.join(u' ').contains(QStringLiteral("connect_timeout=")))
                options << QStringLiteral("connect_timeout=15");
            db.setConnectOptions(options.join(u';'));
        }
        break;
    case SqlEngine::ODBC:
        db.setDatabaseName(target.databaseName);
        db.setUserName(target.userName);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=15"));
        break;
    }
}

} // namespace

bool TQMXBazaDanych::open()
{
    if (databaseName_.trimmed().isEmpty()) {
        fail(QStringLiteral("nie podano nazwy bazy"));
        return false;
    }
    const DatabaseTarget target = parseDatabaseName(databaseName_, userIdent_);
    engine_ = target.engine;
    // A name that is half understood would be sent somewhere else: it is refused.
    if (!target.problem.isEmpty()) {
        fail(QStringLiteral("niepoprawny adres bazy: ") + target.problem);
        return false;
    }
    if (target.engine == SqlEngine::SQLite) {
        if (const QString problem = sqliteFileProblem(target.sqlitePath); !problem.isEmpty()) {
            fail(problem);
            return false;
        }
    }
    QSqlDatabase db =
        QSqlDatabase::addDatabase(QString::fromLatin1(driverFor(target.engine)), connectionName_);
    if (!db.isValid()) {
        fail(QStringLiteral("brak sterownika %1")
                 .arg(QString::fromLatin1(driverFor(target.engine))));
        return false;
    }
    configure(db, target);
    if (!db.open()) {
        fail(db.lastError().text());
        return false;
    }
    if (target.engine == SqlEngine::SQLite) {
        // SQLite opens any file lazily; a first read tells a database from other bytes.
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("select count(*) from sqlite_master"))) {
            // SQLITE_BUSY and SQLITE_LOCKED: a database another program holds, not other bytes.
            const QString code = probe.lastError().nativeErrorCode();
            const bool locked = code == u"5" || code == u"6";
            fail((locked
                      ? QStringLiteral("baza SQLite jest zablokowana przez inny program: %1 (%2)")
                      : QStringLiteral("plik nie jest bazą SQLite: %1 (%2)"))
                     .arg(target.sqlitePath, probe.lastError().text()));
            return false;
        }
    }
    qCDebug(lcDb).noquote() << "Connected to" << redactedDatabaseName(databaseName_);
    return true;
}

void TQMXBazaDanych::fail(const QString& reason)
{
    lastError_ = reason;
    qCWarning(lcDb).noquote() << "Connection to" << redactedDatabaseName(databaseName_)
                              << "failed:" << reason;
    removeConnection();
}

void TQMXBazaDanych::removeConnection()
{
    if (!QSqlDatabase::contains(connectionName_))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

DomyslnePolaczenie TQMXBazaDanych::WczytajDomyslnePolaczenie()
{
    DomyslnePolaczenie connection{qEnvironmentVariable("TARVEXIO_BAZA"),
                                  qEnvironmentVariable("TARVEXIO_IDENT")};
    if (!connection.databaseName.isEmpty())
        return connection;
    const QSettings settings(QStringLiteral("Tarvexio"), QStringLiteral("Tarvexio"));
    connection.databaseName = settings.value(QStringLiteral("lastDatabase")).toString();
    connection.userIdent = settings.value(QStringLiteral("lastUser")).toString();
    return connection;
}

void TQMXBazaDanych::zapamietajDomyslnePolaczenie(const QString& databaseName,
                                                  const QString& userIdent)
{
    // Never a password: PostgreSQL has its own password file, ODBC its DSN.
    const QString kept = databaseNameWithoutPassword(databaseName);
    QSettings settings(QStringLiteral("Tarvexio"), QStringLiteral("Tarvexio"));
    // Sessions open every few minutes; rewrite the settings file only on a change.
    if (settings.value(QStringLiteral("lastDatabase")).toString() == kept &&
        settings.value(QStringLiteral("lastUser")).toString() == userIdent)
        return;
    settings.setValue(QStringLiteral("lastDatabase"), kept);
    settings.setValue(QStringLiteral("lastUser"), userIdent);
    settings.sync();
    QFile::setPermissions(settings.fileName(), QFile::ReadOwner | QFile::WriteOwner);
}

void TQMXBazaDanych::Polacz(const DomyslnePolaczenie& connection)
{
    PolaczBezOkna(connection.databaseName, connection.userIdent, true);
}

void TQMXBazaDanych::wymagajPolaczenia() const
{
    if (!connected_)
        throw EQMXDBError(QString(), EQMXDBError::NotConnected);
}

void TQMXBazaDanych::Odlacz()
{
    if (connected_ && inTransaction_)
        database().rollback();
    inTransaction_ = false;
    connected_ = false;
    removeConnection();
}

QSqlDatabase TQMXBazaDanych::database() const
{
    return QSqlDatabase::database(connectionName_, false);
}

void TQMXBazaDanych::ExecSQL(const QString& statement)
{
    wymagajPolaczenia();
    QSqlQuery query(database());
    // Not the statement: it may carry a (coded) password.
    if (!query.exec(statement))
        throw EQMXDBError(
            QStringLiteral("Błąd wykonania polecenia SQL: %1").arg(query.lastError().text()));
}

void TQMXBazaDanych::StartTransakcji()
{
    wymagajPolaczenia();
    if (!database().transaction())
        throw EQMXDBError(QStringLiteral("Nie można rozpocząć transakcji: %1")
                              .arg(database().lastError().text()));
    inTransaction_ = true;
}

void TQMXBazaDanych::KoniecTransakcji()
{
    wymagajPolaczenia();
    inTransaction_ = false;
    if (!database().commit())
        throw EQMXDBError(QStringLiteral("Nie można zatwierdzić transakcji: %1")
                              .arg(database().lastError().text()));
}

void TQMXBazaDanych::WycofTransakcji()
{
    wymagajPolaczenia();
    inTransaction_ = false;
    if (!database().rollback())
        throw EQMXDBError(
            QStringLiteral("Nie można wycofać transakcji: %1").arg(database().lastError().text()));
}

void TQMXBazaDanych::PowiazQuery(TKMQuery& query)
{
    query.bind(this);
}

QString TQMXBazaDanych::ToDBField(const QDate& day) const
{
    return tarvexio::ToDBField(day, engine_);
}

} // namespace tarvexio
