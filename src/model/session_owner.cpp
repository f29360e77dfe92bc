#include "model/session_owner.h"

#include "config/settings_record.h"
#include "db/database_name.h"
#include "db/export_queries.h"
#include "db/session.h"
#include "db/shop_catalogue.h"
#include "model/event_log.h"

#include <QScopeGuard>

namespace tarvexio {

SessionOwner::SessionOwner(EventLog& log, QString version, QString programFolder, SessionHost& host)
    : log_(log)
    , version_(std::move(version))
    , programFolder_(std::move(programFolder))
    , host_(host)
{}

// Leaving the program disconnects without a log line.
SessionOwner::~SessionOwner()
{
    queries_.reset();
    catalogue_.reset();
    if (session_)
        session_->Odlacz();
}

void SessionOwner::setNames(const QString& databaseName, const QString& userIdent)
{
    databaseName_ = databaseName;
    userIdent_ = userIdent;
}

bool SessionOwner::isConnected() const
{
    return session_ && session_->GetPolaczenieAktywne();
}

void SessionOwner::createSession()
{
    session_ = std::make_unique<TQMXBazaDanych>(4, version_, 0);
}

void SessionOwner::OpenSession()
{
    createSession();
    if (databaseName_.isEmpty() && userIdent_.isEmpty()) {
        session_->Polacz(TQMXBazaDanych::WczytajDomyslnePolaczenie());
        if (session_->GetPolaczenieAktywne())
            setNames(session_->getNazwaBazy(), session_->getIdentyfikator());
    } else {
        session_->PolaczBezOkna(databaseName_, userIdent_, true);
    }
    commonTail();
}

void SessionOwner::ReopenSession()
{
    CloseSession();
    createSession();
    session_->PolaczBezOkna(databaseName_, userIdent_, true);
    commonTail();
}

bool SessionOwner::openQuietly(QString* why)
{
    closeQuietly();
    createSession();
    session_->PolaczBezOkna(databaseName_, userIdent_, true);
    if (!session_->GetPolaczenieAktywne()) {
        if (why != nullptr)
            *why = session_->getOpisBledu();
        session_.reset();
        return false;
    }
    return true;
}

bool SessionOwner::makeRecordQuietly(QString* why)
{
    if (record_)
        return true;
    if (!openQuietly(why))
        return false;
    const auto close = qScopeGuard([this] { closeQuietly(); });
    catalogue_ = std::make_unique<TDmQMXWDWykazy>(*session_);
    catalogue_->WczytajKonfiguracje();
    record_ = std::make_unique<TKonfigEksportu>(*catalogue_, programFolder_);
    host_.catalogueReady(true);
    configurationLoaded_ = true;
    return true;
}

void SessionOwner::closeQuietly()
{
    catalogue_.reset();
    queries_.reset();
    if (session_)
        session_->Odlacz();
    session_.reset();
}

void SessionOwner::commonTail()
{
    const QString shownName = redactedDatabaseName(databaseName_);
    if (!session_->GetPolaczenieAktywne()) {
        // Closing the window may close the session: the reason is said first.
        const QString reason = session_->getOpisBledu();
        const QString attempted = redactedDatabaseName(session_->getNazwaBazy());
        log_.WriteLog(QStringLiteral("Nie udało się połączyć z bazą %1: %2").arg(attempted, reason),
                      true);
        host_.connectionRefused();
        return;
    }
    // Sessions open every check period; the settings file is read once per change of names.
    if (remembers_ && remembered_ != std::pair(databaseName_, userIdent_)) {
        TQMXBazaDanych::zapamietajDomyslnePolaczenie(databaseName_, userIdent_);
        remembered_ = {databaseName_, userIdent_};
    }
    try {
        catalogue_ = std::make_unique<TDmQMXWDWykazy>(*session_);
        catalogue_->WczytajKonfiguracje();
        queries_ = std::make_unique<ExportQueries>();
        queries_->bindAll(*session_);
        if (record_)
            record_->loadShopLists(*catalogue_);
        else
            record_ = std::make_unique<TKonfigEksportu>(*catalogue_, programFolder_);
        host_.catalogueReady(!configurationLoaded_);
        configurationLoaded_ = true;
    } catch (const std::exception& error) {
        host_.sessionFailed(error);
    }
    log_.WriteLog(QStringLiteral("Połączono się z bazą %1").arg(shownName));
}

void SessionOwner::CloseSession()
{
    catalogue_.reset();
    queries_.reset();
    if (!session_)
        return;
    session_->Odlacz();
    session_.reset();
    log_.WriteLog(
        QStringLiteral("Rozłączono się z bazą %1").arg(redactedDatabaseName(databaseName_)));
}

SessionLease::SessionLease(SessionOwner& owner)
    : owner_(owner)
{
    if (owner_.isConnected())
        return;
    opened_ = true;
    owner_.ReopenSession();
}

SessionLease::~SessionLease()
{
    if (opened_)
        owner_.CloseSession();
}

} // namespace tarvexio
