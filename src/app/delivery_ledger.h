#pragma once

#include "export/made_files.h"

#include <QDate>
#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QSqlQuery;

namespace tarvexio {

class EventLog;

// What the agent made, tried to deliver, delivered and recorded, day by day and shop by shop,
// kept in one SQLite file of its program folder. Each change is committed before the step it
// describes goes on, so a process killed at any instant leaves it true. The upload list is
// what it holds as made and not delivered; a day is recorded once every coded shop's file for
// it has reached the server.
class DeliveryLedger final : public MadeFiles {
public:
    static inline const QString FileName = QStringLiteral("tarvexio-ledger.db");
    // Where a file made again for its shop and day puts the one that waited.
    static inline const QString SetAsideFolder = QStringLiteral("odlozone");

    explicit DeliveryLedger(EventLog& log);
    ~DeliveryLedger() override;
    DeliveryLedger(const DeliveryLedger&) = delete;
    DeliveryLedger& operator=(const DeliveryLedger&) = delete;

    // Opens the ledger file, or starts one. A file that is no database is set aside and a new
    // one started; one that cannot be written leaves the ledger in memory. Either is said once
    // the exchange directory is known (rebuildIfNew).
    void open(const QString& path);
    // A ledger started anew takes the exchange directory's data files of days after the last
    // recorded one as waiting, with one line (alerting when it replaced a lost or broken one).
    void rebuildIfNew(const QString& exchangeDirectory, const QDate& lastRecorded);

    void made(const QString& file) override;
    bool hasCurrentFile(const QDate& day, const QString& shopCode) const override;

    // Before a delivery attempt starts, and once it has ended.
    void attemptStarting(const QString& file);
    void attemptEnded(const QString& file, bool delivered, const QString& reply, qint64 serverSize);
    // Sent by the operator: counted for the day its name holds, known to the ledger or not.
    void sentByHand(const QString& file, qint64 serverSize);
    // Gone from the exchange directory before it was delivered: its shop's day is made again.
    void vanished(const QString& file);
    void recorded(const QDate& day);

    // The file reached the server.
    bool delivered(const QString& file) const;
    // Made and not delivered, oldest first.
    QStringList waiting() const;
    // Why the newest waiting file's last attempt failed; empty when none failed.
    QString lastCause() const;
    // The oldest day that waits; invalid when none does.
    QDate oldestWaitingDay() const;
    // Every one of these shops has a delivered file for the day.
    bool allDelivered(const QDate& day, const QStringList& shopCodes) const;
    // The last days' rows, newest first: day, shop, file, size, state, attempts, the server's
    // size, whether the day is recorded, the last cause.
    QJsonArray rows(int days) const;

private:
    bool prepare();
    bool knows(const QString& file) const;
    // A statement with its values: run (one alerting line when it fails), a change made, a row
    // there, the first column of every row.
    bool run(QSqlQuery& statement, const QString& sql, const QVariantList& values) const;
    QSqlQuery query() const;
    void change(const QString& sql, const QVariantList& values);
    bool any(const QString& sql, const QVariantList& values) const;
    QStringList column(const QString& sql, const QVariantList& values) const;
    void setAside(const QString& path);
    void startAnew(const QString& why);

    EventLog& log_;
    QString connection_;
    QString path_;
    QString startedAnewBecause_; // why the ledger is new, until rebuildIfNew has said so
    bool isNew_ = false;
};

} // namespace tarvexio
