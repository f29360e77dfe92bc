#pragma once

#include "db/sql_engine.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <functional>

namespace tarvexio {

class TKMQuery;

// The database and user a session falls back to when started without names.
struct DomyslnePolaczenie {
    QString databaseName;
    QString userIdent;
};

// One connection to the back-office database. A failed connect raises nothing: the session
// stays unconnected and getOpisBledu() says why.
class TQMXBazaDanych {
public:
    TQMXBazaDanych(int kind, const QString& version, int options);
    ~TQMXBazaDanych();
    TQMXBazaDanych(const TQMXBazaDanych&) = delete;
    TQMXBazaDanych& operator=(const TQMXBazaDanych&) = delete;

    void PolaczBezOkna(const QString& databaseName, const QString& userIdent, bool silent);

    // TARVEXIO_BAZA / TARVEXIO_IDENT, else the last names this user connected with.
    static DomyslnePolaczenie WczytajDomyslnePolaczenie();
    static void zapamietajDomyslnePolaczenie(const QString& databaseName, const QString& userIdent);
    void Polacz(const DomyslnePolaczenie& connection);

    bool GetPolaczenieAktywne() const { return connected_; }
    // Raises EQMXDBError with code 1002 when not connected.
    void wymagajPolaczenia() const;
    void Odlacz();

    void ExecSQL(const QString& statement);

    bool GetCzyWTransakcji() const { return inTransaction_; }
    void StartTransakcji();
    void KoniecTransakcji();
    void WycofTransakcji();

    void PowiazQuery(TKMQuery& query);

    const QString& getNazwaBazy() const { return databaseName_; }
    const QString& getIdentyfikator() const { return userIdent_; }
    const QString& getOpisBledu() const { return lastError_; }
    SqlEngine getSilnik() const { return engine_; }

    // A day as an SQL literal of this session's engine.
    QString ToDBField(const QDate& day) const;

    QSqlDatabase database() const;

    // Sees every statement a query of this session runs (benchmarks replay them).
    void setStatementObserver(std::function<void(const QString&)> observer)
    {
        statementObserver_ = std::move(observer);
    }
    const std::function<void(const QString&)>& statementObserver() const
    {
        return statementObserver_;
    }

private:
    bool open();
    void fail(const QString& reason);
    void removeConnection();

    QString connectionName_;
    QString databaseName_;
    QString userIdent_;
    QString lastError_;
    SqlEngine engine_ = SqlEngine::SQLite;
    bool connected_ = false;
    bool inTransaction_ = false;
    std::function<void(const QString&)> statementObserver_;
};

} // namespace tarvexio
