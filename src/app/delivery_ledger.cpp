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
    QSqlQuery statement = query();
    if (!statement.exec(QStringLiteral("PRAGMA integrity_check")) || !statement.next() ||
        statement.value(0).toString() != u"ok")
        return false;
    // A file that can be read but not written would lose every delivery it is told of.
    if (!statement.exec(QStringLiteral("PRAGMA synchronous=FULL")) ||
        !statement.exec(QStringLiteral("BEGIN IMMEDIATE")) ||
        !statement.exec(QStringLiteral("ROLLBACK")))
        return false;
    return std::all_of(std::begin(Schema), std::end(Schema), [&statement](const char* sql) {
        return statement.exec(QString::fromLatin1(sql));
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
    const QString day = name->day.toString(Qt::ISODate);
    const QStringList older =
        column(QStringLiteral("SELECT path FROM files WHERE day=? AND shop=? AND state=? AND "
                              "path<>?"),
               {day, name->shopCode, Waiting, path});
    for (const QString& old : older)
        setAside(old);
    change(QStringLiteral("INSERT OR REPLACE INTO files(path, day, shop, size, sha256, made, "
                          "state) VALUES(?, ?, ?, ?, ?, ?, ?)"),
           {path, day, name->shopCode, QFileInfo(path).size(), sha256(path), nowText(), Waiting});
}

// Never sent: the one made after it holds the same shop's day.
void DeliveryLedger::setAside(const QString& path)
{
    const QFileInfo file(path);
    const QDir aside(file.dir().filePath(SetAsideFolder));
    if (file.exists() && aside.mkpath(QStringLiteral(".")))
        QFile::rename(path, aside.filePath(file.fileName()));
    change(QStringLiteral("UPDATE files SET state=? WHERE path=?"), {SetAside, path});
    log_.WriteLog(QStringLiteral("Plik %1 zastąpiono nowszym plikiem za ten sam dzień; odłożono "
                                 "go do podkatalogu %2")
                      .arg(file.fileName(), SetAsideFolder));
}

bool DeliveryLedger::hasCurrentFile(const QDate& day, const QString& shopCode) const
{
    return any(QStringLiteral("SELECT 1 FROM files WHERE day=? AND shop=? AND state IN (?, ?)"),
               {day.toString(Qt::ISODate), shopCode, Waiting, Delivered});
}

void DeliveryLedger::attemptStarting(const QString& file)
{
    change(QStringLiteral("INSERT INTO attempts(path, started) VALUES(?, ?)"),
           {cleaned(file), nowText()});
}

void DeliveryLedger::attemptEnded(const QString& file, bool delivered, const QString& reply,
                                  qint64 serverSize)
{
    const QString path = cleaned(file);
    QSqlDatabase db = QSqlDatabase::database(connection_);
    // The attempt's end and the file's state change together.
    db.transaction();
    change(QStringLiteral("UPDATE attempts SET ended=?, delivered=?, reply=? WHERE rowid="
                          "(SELECT max(rowid) FROM attempts WHERE path=?)"),
           {nowText(), int(delivered), reply, path});
    if (delivered)
        change(QStringLiteral("UPDATE files SET state=?, server_size=?, delivered=?, cause=NULL "
                              "WHERE path=?"),
               {Delivered, serverSize < 0 ? QVariant() : QVariant(serverSize), nowText(), path});
    else
        change(QStringLiteral("UPDATE files SET cause=? WHERE path=?"), {reply, path});
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
bool DeliveryLedger::run(QSqlQuery& statement, const QString& sql, const QVariantList& values) const
{
    statement.prepare(sql);
    for (const QVariant& value : values)
        statement.addBindValue(value);
    if (statement.exec())
        return true;
    log_.WriteLog(QStringLiteral("UWAGA! Rejestr wysyłek %1: %2")
                      .arg(QDir::toNativeSeparators(path_), statement.lastError().text()),
                  true);
    return false;
}

QSqlQuery DeliveryLedger::query() const
{
    return QSqlQuery(QSqlDatabase::database(connection_));
}

void DeliveryLedger::change(const QString& sql, const QVariantList& values)
{
    QSqlQuery statement = query();
    run(statement, sql, values);
}

bool DeliveryLedger::any(const QString& sql, const QVariantList& values) const
{
    QSqlQuery statement = query();
    return run(statement, sql, values) && statement.next();
}

QStringList DeliveryLedger::column(const QString& sql, const QVariantList& values) const
{
    QSqlQuery statement = query();
    QStringList found;
    if (run(statement, sql, values))
        while (statement.next())
            found << statement.value(0).toString();
    return found;
}

bool DeliveryLedger::knows(const QString& file) const
{
    return any(QStringLiteral("SELECT 1 FROM files WHERE path=?"), {cleaned(file)});
}

void DeliveryLedger::vanished(const QString& file)
{
    change(QStringLiteral("UPDATE files SET state=? WHERE path=?"), {Vanished, cleaned(file)});
}

void DeliveryLedger::recorded(const QDate& day)
{
    change(QStringLiteral("INSERT OR REPLACE INTO days(day, recorded) VALUES(?, ?)"),
           {day.toString(Qt::ISODate), nowText()});
}

QStringList DeliveryLedger::waiting() const
{
    return column(QStringLiteral("SELECT path FROM files WHERE state=? ORDER BY rowid"), {Waiting});
}

bool DeliveryLedger::delivered(const QString& file) const
{
    return any(QStringLiteral("SELECT 1 FROM files WHERE path=? AND state=?"),
               {cleaned(file), Delivered});
}

QString DeliveryLedger::lastCause() const
{
    return column(QStringLiteral("SELECT cause FROM files WHERE state=? AND cause IS NOT NULL "
                                 "ORDER BY rowid DESC LIMIT 1"),
                  {Waiting})
        .value(0);
}

QDate DeliveryLedger::oldestWaitingDay() const
{
    return QDate::fromString(
        column(QStringLiteral("SELECT min(day) FROM files WHERE state=?"), {Waiting}).value(0),
        Qt::ISODate);
}

bool DeliveryLedger::allDelivered(const QDate& day, const QStringList& shopCodes) const
{
    const QStringList delivered =
        column(QStringLiteral("SELECT shop FROM files WHERE day=? AND state=?"),
               {day.toString(Qt::ISODate), Delivered});
    return !shopCodes.isEmpty() &&
           std::all_of(shopCodes.begin(), shopCodes.end(),
                       [&delivered](const QString& code) { return delivered.contains(code); });
}

QJsonArray DeliveryLedger::rows(int days) const
{
    QSqlQuery statement = query();
    // Days end before today: the last N of them.
    const bool read = run(
        statement,
        QStringLiteral("SELECT f.day, f.shop, f.path, f.size, f.state, f.server_size, f.cause, "
                       "(SELECT count(*) FROM attempts a WHERE a.path=f.path AND a.ended IS NOT "
                       "NULL), d.recorded IS NOT NULL FROM files f LEFT JOIN days d ON "
                       "d.day=f.day WHERE f.day >= ? ORDER BY f.day DESC, f.shop, f.made"),
        {QDate::currentDate().addDays(-std::max(days, 1)).toString(Qt::ISODate)});
    QJsonArray rows;
    while (read && statement.next()) {
        QJsonObject row{
            {QStringLiteral("day"), statement.value(0).toString()},
            {QStringLiteral("shop"), statement.value(1).toString()},
            {QStringLiteral("file"), QFileInfo(statement.value(2).toString()).fileName()},
            {QStringLiteral("size"), statement.value(3).toLongLong()},
            {QStringLiteral("state"), statement.value(4).toString()},
            {QStringLiteral("attempts"), statement.value(7).toInt()},
            {QStringLiteral("recorded"), statement.value(8).toBool()},
            {QStringLiteral("cause"), statement.value(6).toString()},
        };
        if (!statement.value(5).isNull())
            row.insert(QStringLiteral("server_size"), statement.value(5).toLongLong());
        rows << row;
    }
    return rows;
}

} // namespace tarvexio
