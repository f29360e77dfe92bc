#pragma once

#include "config/konfig_eksportu.h"

#include <QDate>
#include <QSet>
#include <QStringList>

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

// The consent boxes as one run reads them, indexed by Consent.
using ConsentBoxes = std::array<bool, TKonfigEksportu::ConsentCount>;

struct ExportCounts {
    qint32 IL_TOW = 0;
    qint32 IL_ZAK = 0;
    qint32 IL_SPR = 0;
    qint32 IL_MAG = 0;
    qint32 IL_BIZ = 0;
};

// What the collectors of one export run share: the shop and day, the session and its queries,
// the consent boxes, and what they produce (the line buffer, the goods set, the counts).
struct RunContext {
    TQMXBazaDanych& session;
    ExportQueries& queries;
    qint32 shopId = 0;
    QDate dataDate;
    QDate today;
    ConsentBoxes consent{};

    QStringList lines; // everything after the INFO lines, in the order written
    QSet<qint32> goodsSet;
    bool stockRead = false;
    ExportCounts counts;

    bool ticked(Consent box) const { return consent[box]; }
};

} // namespace tarvexio
