#include "app/delivery_ledger.h"

#include "export/data_file_name.h"
#include "model/event_log.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace tarvexio {

namespace {

// One row per file made; its attempts; the days recorded.
const char* const Schema[] = {
    "CREATE TABLE IF NOT EXISTS files(path TEXT PRIMARY KEY, day TEXT NOT NULL, shop TEXT NOT "
    "NULL, size INTEGER, sha256 TEXT, made TEXT, state TEXT NOT NULL, server_size INTEGER, "
    "delivered TEXT, cause TEXT)",
    "CREATE TABLE IF NOT EXISTS attempts(path TEXT NOT NULL, started TEXT NOT NULL, ended TEXT, "
    "delivered INTEGER, reply TEXT)",
    "CREATE TABLE IF NOT EXISTS days(day TEXT PRIMARY KEY, recorded TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS files_by_day ON files(day, shop)",
};

const QString Waiting = QStringLiteral("waiting");
const QString Delivered = QStringLiteral("delivered");
const QString SetAside = QStringLiteral("set aside");
const QString Vanished = QStringLiteral("vanished");

QString nowText()
{
    return QDateTime::currentDateTime().toString(Qt::ISODate);
}

QString sha256(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}

QString cleaned(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

DeliveryLedger::DeliveryLedger(EventLog& log)
    : log_(log)
    , connection_(QStringLiteral("tarvexio-ledger-%1").arg(quintptr(this)))
{}

DeliveryLedger::~DeliveryLedger()
{
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

void DeliveryLedger::open(const QString& path)
{
    path_ = path;
    const bool existed = QFileInfo::exists(path);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path);
    if (db.open() && prepare()) {
        isNew_ = !existed;
        if (isNew_)
            startedAnewBecause_ = QStringLiteral("nie istniał");
        return;
    }
    startAnew(existed ? QStringLiteral("był uszkodzony (%1)").arg(db.lastError().text())
                      : QStringLiteral("nie dało się go utworzyć"));
}

// Every change is on disk before the step it describes goes on.
bool DeliveryLedger::prepare()
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    if (!query.exec(QStringLiteral("PRAGMA integrity_check")) || !query.next() ||
        query.value(0).toString() != u"ok")
        return false;
    // A file that can be read but not written would lose every delivery it is told of.
    if (!query.exec(QStringLiteral("PRAGMA synchronous=FULL")) ||
        !query.exec(QStringLiteral("BEGIN IMMEDIATE")) || !query.exec(QStringLiteral("ROLLBACK")))
        return false;
    return std::all_of(std::begin(Schema), std::end(Schema), [&query](const char* statement) {
        return query.exec(QString::fromLatin1(statement));
    });
}

// A broken file is kept beside the new one for whoever wants to look into it; where no file
// can be written the ledger lives in memory until the agent ends.
void DeliveryLedger::startAnew(const QString& why)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    db.close();
    if (QFileInfo::exists(path_))
        QFile::rename(path_,
                      path_ + QStringLiteral(".broken-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss")));
    db.setDatabaseName(path_);
    isNew_ = true;
    startedAnewBecause_ = why;
    if (!db.open() || !prepare()) {
        db.close();
        db.setDatabaseName(QStringLiteral(":memory:"));
        db.open();
        prepare();
        startedAnewBecause_ += QStringLiteral(" i nie da się go zapisać: do końca pracy programu "
                                              "jest tylko w pamięci");
    }
}

void DeliveryLedger::rebuildIfNew(const QString& exchangeDirectory, const QDate& lastRecorded)
{
    if (!isNew_)
        return;
    isNew_ = false;
    const QDir exchange(exchangeDirectory);
    QStringList found;
    for (const QString& name : exchange.entryList({QStringLiteral("PSHD_*.DAT")}, QDir::Files)) {
        const std::optional<DataFileName> file = parseDataFileName(name);
        // An empty file was cut short before it held anything.
        if (file && file->day > lastRecorded && !knows(exchange.filePath(name)) &&
            QFileInfo(exchange.filePath(name)).size() > 0)
            found << exchange.filePath(name);
    }
    // Oldest first, so that the newest file of a shop's day is the one that stays current.
    std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) {
        const auto x = parseDataFileName(QFileInfo(a).fileName());
        const auto y = parseDataFileName(QFileInfo(b).fileName());
        return std::tie(x->day, x->made) < std::tie(y->day, y->made);
    });
    for (const QString& path : found)
        made(path);
    const bool lost = startedAnewBecause_ != u"nie istniał";
    if (!lost && found.isEmpty())
        return;
    // Files taken again may have gone before: the service must hear of a lost record.
    log_.WriteLog(QStringLiteral("Rejestr wysyłek %1 %2; założono nowy, a z katalogu wymiany "
                                 "przyjęto do wysłania plików: %3")
                      .arg(QDir::toNativeSeparators(path_), startedAnewBecause_)
                      .arg(found.size()),
                  true);
}

void DeliveryLedger::made(const QString& file)
{
    const QString path = cleaned(file);
    const std::optional<DataFileName> name = parseDataFileName(QFileInfo(path).fileName());
    if (!name)
        return;
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("SELECT path FROM files WHERE day=? AND shop=? AND state=? AND "
                                 "path<>?"));
    query.addBindValue(name->day.toString(Qt::ISODate));
    query.addBindValue(name->shopCode);
    query.addBindValue(Waiting);
    query.addBindValue(path);
    QStringList older;
    if (run(query))
        while (query.next())
            older << query.value(0).toString();
    for (const QString& old : older)
        setAside(old);
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO files(path, day, shop, size, sha256, "
                                 "made, state) VALUES(?, ?, ?, ?, ?, ?, ?)"));
    query.addBindValue(path);
    query.addBindValue(name->day.toString(Qt::ISODate));
    query.addBindValue(name->shopCode);
    query.addBindValue(QFileInfo(path).size());
    query.addBindValue(sha256(path));
    query.addBindValue(nowText());
    query.addBindValue(Waiting);
    run(query);
}

// Never sent: the one made after it holds the same shop's day.
void DeliveryLedger::setAside(const QString& path)
{
    const QFileInfo file(path);
    const QDir aside(file.dir().filePath(SetAsideFolder));
    if (file.exists() && aside.mkpath(QStringLiteral(".")))
        QFile::rename(path, aside.filePath(file.fileName()));
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("UPDATE files SET state=? WHERE path=?"));
    query.addBindValue(SetAside);
    query.addBindValue(path);
    run(query);
    log_.WriteLog(QStringLiteral("Plik %1 zastąpiono nowszym plikiem za ten sam dzień; odłożono "
                                 "go do podkatalogu %2")
                      .arg(file.fileName(), SetAsideFolder));
}

bool DeliveryLedger::hasCurrentFile(const QDate& day, const QString& shopCode) const
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("SELECT 1 FROM files WHERE day=? AND shop=? AND state IN (?, ?)"));
    query.addBindValue(day.toString(Qt::ISODate));
    query.addBindValue(shopCode);
    query.addBindValue(Waiting);
    query.addBindValue(Delivered);
    return run(query) && query.next();
}

void DeliveryLedger::attemptStarting(const QString& file)
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("INSERT INTO attempts(path, started) VALUES(?, ?)"));
    query.addBindValue(cleaned(file));
    query.addBindValue(nowText());
    run(query);
}

void DeliveryLedger::attemptEnded(const QString& file, bool delivered, const QString& reply,
                                  qint64 serverSize)
{
    const QString path = cleaned(file);
    QSqlDatabase db = QSqlDatabase::database(connection_);
    // The attempt's end and the file's state change together.
    db.transaction();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("UPDATE attempts SET ended=?, delivered=?, reply=? WHERE rowid="
                                 "(SELECT max(rowid) FROM attempts WHERE path=?)"));
    query.addBindValue(nowText());
    query.addBindValue(int(delivered));
    query.addBindValue(reply);
    query.addBindValue(path);
    run(query);
    if (delivered) {
        query.prepare(QStringLiteral("UPDATE files SET state=?, server_size=?, delivered=?, "
                                     "cause=NULL WHERE path=?"));
        query.addBindValue(Delivered);
        query.addBindValue(serverSize < 0 ? QVariant() : QVariant(serverSize));
        query.addBindValue(nowText());
    } else {
        query.prepare(QStringLiteral("UPDATE files SET cause=? WHERE path=?"));
        query.addBindValue(reply);
    }
    query.addBindValue(path);
    run(query);
    if (!db.commit())
        log_.WriteLog(QStringLiteral("UWAGA! Rejestr wysyłek: ") + db.lastError().text(), true);
}

void DeliveryLedger::sentByHand(const QString& file, qint64 serverSize)
{
    const QString path = cleaned(file);
    if (!knows(path))
        made(path);
    attemptEnded(path, true, QStringLiteral("tarvexioctl send"), serverSize);
}

// A ledger that cannot be read or written is said every time: what it does not hold, the
// agent may send again or record too early.
bool DeliveryLedger::run(QSqlQuery& query) const
{
    if (query.exec())
        return true;
    log_.WriteLog(QStringLiteral("UWAGA! Rejestr wysyłek %1: %2")
                      .arg(QDir::toNativeSeparators(path_), query.lastError().text()),
                  true);
    return false;
}

bool DeliveryLedger::knows(const QString& file) const
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("SELECT 1 FROM files WHERE path=?"));
    query.addBindValue(cleaned(file));
    return run(query) && query.next();
}

void DeliveryLedger::vanished(const QString& file)
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("UPDATE files SET state=? WHERE path=?"));
    query.addBindValue(Vanished);
    query.addBindValue(cleaned(file));
    run(query);
}

void DeliveryLedger::recorded(const QDate& day)
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO days(day, recorded) VALUES(?, ?)"));
    query.addBindValue(day.toString(Qt::ISODate));
    query.addBindValue(nowText());
    run(query);
}

QStringList DeliveryLedger::waiting() const
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("SELECT path FROM files WHERE state=? ORDER BY rowid"));
    query.addBindValue(Waiting);
    QStringList paths;
    if (run(query))
        while (query.next())
            paths << query.value(0).toString();
    return paths;
}

bool DeliveryLedger::delivered(const QString& file) const
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("SELECT 1 FROM files WHERE path=? AND state=?"));
    query.addBindValue(cleaned(file));
    query.addBindValue(Delivered);
    return run(query) && query.next();
}

QString DeliveryLedger::lastCause() const
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("SELECT cause FROM files WHERE state=? AND cause IS NOT NULL "
                                 "ORDER BY rowid DESC LIMIT 1"));
    query.addBindValue(Waiting);
    return run(query) && query.next() ? query.value(0).toString() : QString();
}

QDate DeliveryLedger::oldestWaitingDay() const
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("SELECT min(day) FROM files WHERE state=?"));
    query.addBindValue(Waiting);
    if (!run(query) || !query.next())
        return {};
    return QDate::fromString(query.value(0).toString(), Qt::ISODate);
}

bool DeliveryLedger::allDelivered(const QDate& day, const QStringList& shopCodes) const
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral("SELECT shop FROM files WHERE day=? AND state=?"));
    query.addBindValue(day.toString(Qt::ISODate));
    query.addBindValue(Delivered);
    QStringList delivered;
    if (run(query))
        while (query.next())
            delivered << query.value(0).toString();
    return !shopCodes.isEmpty() &&
           std::all_of(shopCodes.begin(), shopCodes.end(),
                       [&delivered](const QString& code) { return delivered.contains(code); });
}

QJsonArray DeliveryLedger::rows(int days) const
{
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(QStringLiteral(
        "SELECT f.day, f.shop, f.path, f.size, f.state, f.server_size, f.cause, "
        "(SELECT count(*) FROM attempts a WHERE a.path=f.path AND a.ended IS NOT NULL), "
        "d.recorded IS NOT NULL FROM files f LEFT JOIN days d ON d.day=f.day "
        "WHERE f.day >= (SELECT date(max(day), ?) FROM files) ORDER BY f.day DESC, f.shop, "
        "f.made"));
    query.addBindValue(QStringLiteral("-%1 days").arg(std::max(days, 1) - 1));
    QJsonArray rows;
    if (!run(query))
        return rows;
    while (query.next()) {
        QJsonObject row{
            {QStringLiteral("day"), query.value(0).toString()},
            {QStringLiteral("shop"), query.value(1).toString()},
            {QStringLiteral("file"), QFileInfo(query.value(2).toString()).fileName()},
            {QStringLiteral("size"), query.value(3).toLongLong()},
            {QStringLiteral("state"), query.value(4).toString()},
            {QStringLiteral("attempts"), query.value(7).toInt()},
            {QStringLiteral("recorded"), query.value(8).toBool()},
            {QStringLiteral("cause"), query.value(6).toString()},
        };
        if (!query.value(5).isNull())
            row.insert(QStringLiteral("server_size"), query.value(5).toLongLong());
        rows << row;
    }
    return rows;
}

} // namespace tarvexio
