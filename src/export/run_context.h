#pragma once

#include "config/settings_record.h"
#include "export/chain_goods.h"
#include "platform/windows1250.h"

#include <QByteArrayList>
#include <QDate>
#include <QSet>
#include <QVector>

#include <array>

namespace tarvexio {

class TQMXBazaDanych;
struct ExportQueries;

// The consent boxes in the order of the data file's DANE_EXP field, which swaps the two
// sales values against the record's order.
constexpr Consent DaneExpOrder[TKonfigEksportu::ConsentCount] = {ParCenySp,
                                                                 ParIlwMag,
                                                                 ParWartwMag,
                                                                 ParDzWartZakwCenZak,
                                                                 ParDzWartSprzwCenZak,
                                                                 ParDzWartSprzwCenSprz,
                                                                 ParDzLPar,
                                                                 ParSrLPLUnaPar,
                                                                 ParSrWartPar,
                                                                 ParNIPKontrPar};

struct ExportCounts {
    qint32 IL_ZAK = 0;
    qint32 IL_SPR = 0;
    qint32 IL_MAG = 0;
    qint32 IL_BIZ = 0;
};

// What the collectors of one export run share: the shop and day, the session and its queries,
// the consent boxes, and what they produce (the line buffer, the goods set, the counts).
struct RunContext {
    RunContext(TQMXBazaDanych& session, ExportQueries& queries, qint32 shopId,
               const QDate& dataDate, const QDate& today)
        : session(session)
        , queries(queries)
        , shopId(shopId)
        , dataDate(dataDate)
        , today(today)
    {}

    TQMXBazaDanych& session;
    ExportQueries& queries;
    qint32 shopId = 0;
    QDate dataDate;
    QDate today;
    ConsentBoxes consent{};
    ExportStatements statements = ExportStatements::SetBased;
    ChainGoods* chain = nullptr; // set-based: the day's goods, shared by its shops

    // Set-based, read in one walk of the stock: the goods with stock above zero and their MAG
    // records, for the goods set and the MAG section.
    QVector<qint32> inStock;
    QByteArray magRecords;

    // Everything after the INFO lines, in the order written, already in Windows-1250; an
    // entry may hold several lines joined by their line ends (a section's records at once).
    QByteArrayList lines;
    void addLine(const QString& line) { lines.append(toWindows1250(line)); }
    void addLines(const QByteArray& records)
    {
        if (!records.isEmpty())
            lines.append(records);
    }
    QSet<qint32> goodsSet;
    bool stockRead = false;
    ExportCounts counts;

    bool ticked(Consent box) const { return consent[box]; }
};

} // namespace tarvexio
