#include "export/business_indicators.h"

#include "db/query.h"
#include "db/session.h"
#include "export/record_fields.h"
#include "export/run_context.h"

namespace tarvexio {

namespace {

// One statement, its first row's field read into value; no row leaves value as it was.
class IndicatorQuery {
public:
    explicit IndicatorQuery(TQMXBazaDanych& session) { session.PowiazQuery(query_); }

    void read(const QString& statement,
              std::initializer_list<std::pair<const char*, double*>> fields)
    {
        query_.Close();
        query_.setSql(statement);
        query_.Open();
        if (!query_.Eof()) {
            for (const auto& [name, value] : fields)
                *value = query_.FieldByName(QString::fromLatin1(name)).GetAsExtended();
        }
        query_.Close();
    }

private:
    TKMQuery query_;
};

// The day's figures, each read as its statement gives it and corrected as documents say.
struct DayFigures {
    double purchases = 0;  // net, less corrections
    double salesGross = 0; // at selling prices, less corrections
    double salesNet = 0;   // at purchase prices, less corrections
    qint32 receipts = 0;   // documents of receipts and till receipts
    double plu = 0;        // their lines
};

void readPurchases(IndicatorQuery& query, const QString& day, DayFigures& figures)
{
    const QString purchases =
        QStringLiteral("select SUM(Netto) as Netto from SklepDok where aktywny=1 and data=%1 "
                       "and typdok in ")
            .arg(day);
    query.read(purchases + QStringLiteral("(%1)").arg(2), {{"Netto", &figures.purchases}});
    double corrections = 0;
    query.read(purchases + QStringLiteral("(%1)").arg(4), {{"Netto", &corrections}});
    figures.purchases -= corrections;
}

void readSales(IndicatorQuery& query, const QString& day, DayFigures& figures)
{
    const QString sales = QStringLiteral("select Sum(SD.Razem) AS BruttoDet, Sum(SD.NettoMag) as "
                                         "NettoMag from SklepDok SD where SD.Aktywny<>0 and "
                                         "SD.TypDok IN");
    query.read(sales + QStringLiteral("(%1, %2)").arg(20).arg(21) +
                   QStringLiteral(" and SD.Data=") + day,
               {{"BruttoDet", &figures.salesGross}, {"NettoMag", &figures.salesNet}});
    double gross = 0;
    double net = 0;
    query.read(sales + QStringLiteral("(%1)").arg(8) + QStringLiteral(" and SD.Data=") + day,
               {{"BruttoDet", &gross}, {"NettoMag", &net}});
    figures.salesGross -= gross;
    figures.salesNet -= net;
}

void readReceipts(IndicatorQuery& query, const RunContext& run, const QString& day,
                  const QString& nextDay, DayFigures& figures)
{
    double documents = 0;
    query.read(QStringLiteral("select Count(1) as LPar from SklepDok SD where SD.Aktywny<>0 and "
                              "SD.TypDok IN(%1) and SD.Data=%2")
                   .arg(21)
                   .arg(day),
               {{"LPar", &documents}});
    query.read(QStringLiteral("select Count(1) as LPLU from SklepDok SD, SklepPozDok SPD where "
                              "SD.Aktywny<>0 and SD.TypDok IN(%1) and SD.Data=%2 and "
                              "SPD.SklepDokId=SD.SklepDokId and SPD.SklepId=SD.SklepId and "
                              "SD.SklepId=%3")
                   .arg(21)
                   .arg(day)
                   .arg(run.shopId),
               {{"LPLU", &figures.plu}});
    double tillReceipts = 0;
    query.read(QStringLiteral("select Count(1) as LPar from SklepParagon SP where SP.Aktywny<>0 "
                              "and SP.DataCzas>=%1 and SP.DataCzas<=%2 and SP.TypPar=0")
                   .arg(day, nextDay),
               {{"LPar", &tillReceipts}});
    figures.receipts = static_cast<qint32>(documents) + static_cast<qint32>(tillReceipts);
    double tillLines = 0;
    query.read(QStringLiteral("select Sum(IloscPoz) as LPLU from SklepParagon SP where "
                              "SP.Aktywny<>0 and SP.DataCzas>=%1 and SP.DataCzas<=%2")
                   .arg(day, nextDay),
               {{"LPLU", &tillLines}});
    figures.plu += tillLines;
}

} // namespace

void writeBizSection(RunContext& run)
{
    const QString d = run.session.ToDBField(run.dataDate);
    const QString d1 = run.session.ToDBField(run.dataDate.addDays(1));
    IndicatorQuery query(run.session);
    DayFigures figures;
    readPurchases(query, d, figures);
    readSales(query, d, figures);
    readReceipts(query, run, d, d1, figures);
    const double p = figures.purchases;
    const double g = figures.salesGross;
    const double n = figures.salesNet;
    const qint32 r = figures.receipts;
    const double l = figures.plu;

    // The averages use the true figures, before the boxes withhold any of them.
    double a = l;
    double v = 0;
    if (r > 0) {
        a = l / r;
        v = g / r;
    }

    run.addLine(
        QStringLiteral("BIZ_N|WART_Z_CZ|WART_S_CZ|WART_S_CS|ILOSC_PAR|ILOSC_SRPLU|WART_SRPAR|"));
    const Consent boxes[] = {ParDzWartZakwCenZak, ParDzWartSprzwCenSprz, ParDzWartSprzwCenZak,
                             ParDzLPar,           ParSrLPLUnaPar,        ParSrWartPar};
    run.counts.IL_BIZ = std::any_of(std::begin(boxes), std::end(boxes),
                                    [&](Consent box) { return run.ticked(box); })
                            ? 1
                            : 0;
    if (run.counts.IL_BIZ == 0)
        return;
    run.addLine(RecordLine("BIZ")
                    .fixed(run.ticked(ParDzWartZakwCenZak) ? p : 0, 3)
                    .fixed(run.ticked(ParDzWartSprzwCenZak) ? n : 0, 3)
                    .fixed(run.ticked(ParDzWartSprzwCenSprz) ? g : 0, 3)
                    .whole(run.ticked(ParDzLPar) ? r : 0)
                    .fixed(run.ticked(ParSrLPLUnaPar) ? a : 0, 0)
                    .fixed(run.ticked(ParSrWartPar) ? v : 0, 3)
                    .take());
}

} // namespace tarvexio
