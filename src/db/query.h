#pragma once

#include <QDateTime>
#include <QSqlQuery>
#include <QString>

#include <memory>

namespace tarvexio {

class TKMQuery;
class TQMXBazaDanych;

// One column of an open query; looked up once after Open() and read on every row. It reads
// through its query, so it stays good when the query runs its statement again (First()).
class TMField {
public:
    TMField(const TKMQuery& query, int index, QString name);

    QString GetAsString() const;
    qint32 GetAsInteger() const;
    double GetAsExtended() const;
    // An invalid QDateTime for NULL.
    QDateTime GetAsDateTime() const;
    bool GetIsNull() const;

private:
    QVariant value() const;

    const TKMQuery* query_;
    int index_;
    QString name_;
};

// A read-only statement walked forward from its first row.
class TKMQuery {
public:
    TKMQuery();
    ~TKMQuery();
    TKMQuery(const TKMQuery&) = delete;
    TKMQuery& operator=(const TKMQuery&) = delete;

    void bind(TQMXBazaDanych* session) { session_ = session; }

    void setSql(const QString& statement) { statement_ = statement; }
    const QString& GetSQL() const { return statement_; }

    void Open();
    void Close();
    bool isOpen() const { return query_ != nullptr; }

    void First();
    void Next();
    bool Eof() const { return eof_; }

    // Number of rows of the result. Engines that cannot tell in advance (SQLite) run the
    // statement once more to count, so keep it for results expected to be small.
    int GetCount();

    TMField FieldByName(const QString& name) const;
    // The column of the current row.
    QVariant value(int index) const;

private:
    std::unique_ptr<QSqlQuery> execute() const;
    void requireOpen() const;

    TQMXBazaDanych* session_ = nullptr;
    QString statement_;
    std::unique_ptr<QSqlQuery> query_;
    int row_ = -1;
    bool eof_ = true;
};

} // namespace tarvexio
