#include "db/query.h"

#include "db/db_error.h"
#include "db/session.h"

#include <QSqlError>
#include <QSqlRecord>

namespace tarvexio {

TMField::TMField(const TKMQuery& query, int index, QString name)
    : query_(&query)
    , index_(index)
    , name_(std::move(name))
{}

QVariant TMField::value() const
{
    return query_->value(index_);
}

QString TMField::GetAsString() const
{
    return value().toString();
}

qint32 TMField::GetAsInteger() const
{
    const QVariant v = value();
    if (v.isNull())
        return 0;
    bool ok = false;
    const qlonglong number = v.toLongLong(&ok);
    if (ok)
        return static_cast<qint32>(number);
    return static_cast<qint32>(v.toDouble());
}

double TMField::GetAsExtended() const
{
    return value().toDouble();
}

QDateTime TMField::GetAsDateTime() const
{
    const QVariant v = value();
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().startOfDay();
    // SQLite keeps moments as text "YYYY-MM-DD HH:MM:SS" (sometimes with a "T" or fraction).
    QString text = v.toString().trimmed();
    text.replace(u'T', u' ');
    for (const char* format :
         {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        QDateTime moment = QDateTime::fromString(text, QString::fromLatin1(format));
        if (moment.isValid())
            return moment;
    }
    throw EQMXDBError(QStringLiteral("Pole %1: '%2' nie jest datą").arg(name_, text));
}

bool TMField::GetIsNull() const
{
    return value().isNull();
}

TKMQuery::TKMQuery() = default;
TKMQuery::~TKMQuery() = default;

std::unique_ptr<QSqlQuery> TKMQuery::execute() const
{
    if (session_ == nullptr)
        throw EQMXDBError(QStringLiteral("Zapytanie nie jest powiązane z sesją"));
    session_->wymagajPolaczenia();
    if (session_->statementObserver())
        session_->statementObserver()(statement_);
    auto query = std::make_unique<QSqlQuery>(session_->database());
    // Only SQLite walks a forward-only result while other statements run on the connection;
    // PostgreSQL's forward-only mode streams rows and loses them when the next statement
    // (a per-row look-up) starts, so there the whole result is fetched at once.
    query->setForwardOnly(session_->getSilnik() == SqlEngine::SQLite);
    // Sums of integer columns come back as numeric on PostgreSQL; read them as doubles.
    query->setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!query->exec(statement_))
        throw EQMXDBError(QStringLiteral("Błąd zapytania SQL: %1\n%2")
                              .arg(query->lastError().text(), statement_.left(500)));
    return query;
}

void TKMQuery::Open()
{
    Close();
    query_ = execute();
    row_ = -1;
    Next();
}

void TKMQuery::Close()
{
    query_.reset();
    row_ = -1;
    eof_ = true;
}

void TKMQuery::First()
{
    requireOpen();
    if (row_ > 0 || (row_ == 0 && eof_))
        Open(); // forward-only: going back means running the statement again
}

void TKMQuery::Next()
{
    requireOpen();
    if (query_->next()) {
        ++row_;
        eof_ = false;
    } else {
        eof_ = true;
    }
}

int TKMQuery::GetCount()
{
    requireOpen();
    if (const int size = query_->size(); size >= 0)
        return size;
    const std::unique_ptr<QSqlQuery> counter = execute();
    int count = 0;
    while (counter->next())
        ++count;
    return count;
}

TMField TKMQuery::FieldByName(const QString& name) const
{
    requireOpen();
    const QSqlRecord record = query_->record();
    for (int i = 0; i < record.count(); ++i) {
        if (record.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return TMField(*this, i, name);
    }
    throw EQMXDBError(QStringLiteral("Nie znaleziono pola %1").arg(name));
}

QVariant TKMQuery::value(int index) const
{
    requireOpen();
    return query_->value(index);
}

void TKMQuery::requireOpen() const
{
    if (query_ == nullptr)
        throw EQMXDBError(QStringLiteral("Zapytanie nie jest otwarte"));
}

} // namespace tarvexio
