#include "export/goods_stock.h"

#include "db/export_queries.h"
#include "db/session.h"
#include "export/record_fields.h"
#include "export/run_context.h"

#include <QHash>

namespace tarvexio {

namespace {

QString shopGoodsColumn(const char* expression, const char* extraTables, const char* extraJoin,
                        const char* alias)
{
    return QStringLiteral("(Select %1 FROM %2Towar T, SklepTowar ST where %3T.TowId=ST.TowId and "
                          "ST.SklepTowId=SPD.SklepTowId and ST.SklepId=SPD.SklepId) as %4")
        .arg(QLatin1StringView(expression), QLatin1StringView(extraTables),
             QLatin1StringView(extraJoin), QLatin1StringView(alias));
}

} // namespace

void openGoodsData(RunContext& run)
{
    // The chain's goods are the same for every shop of the day: read once.
    if (run.statements == ExportStatements::SetBased && run.chain->loaded())
        return;
    TKMQuery& query = run.queries.goods;
    query.Close();
    query.setSql(QStringLiteral(
        "select T.TowId, T.Kod, T.Nazwa as NazwaTow, Jm.Nazwa as NazwaJM, T.Stawka, T.AsId, "
        "A.Nazwa as NazwaAs, T.Indeks2 from Towar T, JM Jm, Asort A "
        " where Jm.JMId=T.JMId and A.AsId=T.AsId order by T.TowId"));
    query.Open();
    if (run.statements == ExportStatements::SetBased)
        run.chain->load(run.session, query);
}

void openStockData(RunContext& run)
{
    TKMQuery& query = run.queries.stock;
    query.Close();
    run.stockRead = run.dataDate.daysTo(run.today) <= 7;
    if (!run.stockRead)
        return;
    if (run.statements == ExportStatements::Described)
        query.setSql(QStringLiteral("select T.TowId, T.Kod, T.CenaEw,  (select Sum(StanMag) from "
                                    "SklepIstw as SI, SklepTowar ST where "
                                    "SI.SklepTowId=ST.SklepTowId and SI.SklepId=ST.SklepId and "
                                    "ST.TowId=T.TowId and SI.SklepId=%1) as StanMag from Towar T "
                                    "order by T.TowId")
                         .arg(run.shopId));
    else // only the goods the shop has stock rows of: the others have no stock to write
        query.setSql(QStringLiteral("select T.TowId, T.Kod, T.CenaEw, Sum(SI.StanMag) as StanMag "
                                    "from SklepIstw SI, SklepTowar ST, Towar T where "
                                    "SI.SklepTowId=ST.SklepTowId and SI.SklepId=ST.SklepId and "
                                    "ST.TowId=T.TowId and SI.SklepId=%1 group by T.TowId, T.Kod, "
                                    "T.CenaEw order by T.TowId")
                         .arg(run.shopId));
    query.Open();
    if (run.statements == ExportStatements::Described)
        return;
    const TMField towId = query.FieldByName(QStringLiteral("TowId"));
    const TMField kod = query.FieldByName(QStringLiteral("Kod"));
    const TMField price = query.FieldByName(QStringLiteral("CenaEw"));
    const TMField stanMag = query.FieldByName(QStringLiteral("StanMag"));
    const bool quantities = run.ticked(ParIlwMag);
    const bool values = run.ticked(ParWartwMag);
    for (; !query.Eof(); query.Next()) {
        const double quantity = stanMag.GetAsExtended();
        if (!(quantity > 0))
            continue;
        const qint32 id = towId.GetAsInteger();
        run.inStock.append(id);
        if (!quantities && !values)
            continue;
        appendRecordLine(run.magRecords, run.chain->magPrefix(id, kod));
        appendFixedField(run.magRecords, quantities ? quantity : 0.0, 3);
        appendFixedField(run.magRecords, values ? price.GetAsExtended() * quantity : 0.0, 2);
    }
}

namespace {

// The goods of every position of the shop's documents of the day; a position whose goods
// cannot be found counts as goods 0, as the described statement's empty look-up does.
QString movedGoodsStatement(const RunContext& run)
{
    const QString documents =
        QStringLiteral("SD.TypDok in (%1, %2, %3, %4, %5) and SD.Aktywny<>0 and SD.Data=%6 and "
                       "SPD.SklepDokId=SD.SklepDokId and SPD.SklepId=SD.SklepId and SD.SklepId=%7")
            .arg(20)
            .arg(21)
            .arg(2)
            .arg(8)
            .arg(4)
            .arg(run.session.ToDBField(run.dataDate))
            .arg(run.shopId);
    if (run.statements == ExportStatements::SetBased)
        return QStringLiteral("select T.TowId from SklepDok SD, SklepPozDok SPD left join "
                              "SklepTowar ST on ST.SklepTowId=SPD.SklepTowId and "
                              "ST.SklepId=SPD.SklepId left join Towar T on T.TowId=ST.TowId "
                              "where ") +
               documents + QStringLiteral(" group by T.TowId");
    return QStringLiteral("select   (select T.TowId from Towar T, SklepTowar ST where "
                          "T.TowId=ST.TowId and ST.SklepTowId=SPD.SklepTowId and "
                          "ST.SklepId=SPD.SklepId) as TowId,  (select T.Kod from Towar T, "
                          "SklepTowar ST where T.TowId=ST.TowId and "
                          "ST.SklepTowId=SPD.SklepTowId and ST.SklepId=SPD.SklepId) as Kod,  ") +
           shopGoodsColumn("T.Nazwa", "", "", "NazwaTow") + QStringLiteral(",  ") +
           shopGoodsColumn("T.Stawka", "", "", "Stawka") + QStringLiteral(",  ") +
           shopGoodsColumn("T.Indeks2", "", "", "Indeks2") + QStringLiteral(",  ") +
           QStringLiteral("(Select jm.Nazwa FROM JM jm, Towar T, SklepTowar ST Where "
                          "jm.JmId=T.JmId and T.TowId=ST.TowId and "
                          "ST.SklepTowId=SPD.SklepTowId and ST.SklepId=SPD.SklepId) as "
                          "NazwaJM,  ") +
           shopGoodsColumn("asort.Nazwa", "Asort asort, ", "asort.AsId=T.AsId and ", "NazwaAs") +
           QStringLiteral("  from SklepDok SD, SklepPozDok SPD  where ") + documents +
           QStringLiteral(" order by TowId");
}

} // namespace

void buildGoodsSet(RunContext& run)
{
    run.goodsSet.clear();
    TKMQuery& moved = run.queries.goodsSet;
    moved.Close();
    moved.setSql(movedGoodsStatement(run));
    moved.Open();
    const TMField towId = moved.FieldByName(QStringLiteral("TowId"));
    bool first = true;
    qint32 previous = 0;
    for (; !moved.Eof(); moved.Next()) {
        const qint32 id = towId.GetAsInteger();
        if (first || id != previous)
            run.goodsSet.insert(id);
        first = false;
        previous = id;
    }

    run.counts.IL_MAG = 0;
    if (!run.stockRead || !run.ticked(ParIlwMag))
        return;
    if (run.statements == ExportStatements::SetBased) {
        for (const qint32 towId : std::as_const(run.inStock))
            run.goodsSet.insert(towId);
        run.counts.IL_MAG = static_cast<qint32>(run.inStock.size());
        return;
    }
    TKMQuery& stock = run.queries.stock;
    stock.First();
    const TMField stockId = stock.FieldByName(QStringLiteral("TowId"));
    const TMField quantity = stock.FieldByName(QStringLiteral("StanMag"));
    for (; !stock.Eof(); stock.Next()) {
        if (quantity.GetAsExtended() > 0) {
            run.goodsSet.insert(stockId.GetAsInteger());
            ++run.counts.IL_MAG;
        }
    }
}

void writeTowSection(RunContext& run)
{
    run.addLine(QStringLiteral("TOW_N|ID_TOW|EAN|PLU|NAZWA|KOD_JM|ST_VAT|NR_GR|NAZWA_GR|PKWIU|"));
    if (run.statements == ExportStatements::SetBased) {
        ChainGoods& chain = *run.chain;
        QByteArray records;
        for (qsizetype i = 0; i < chain.size(); ++i) {
            if (run.goodsSet.contains(chain.TowId(i)))
                appendRecordLine(records, chain.towLine(i));
        }
        run.addLines(records);
        return;
    }
    TKMQuery& goods = run.queries.goods;
    TKMQuery& plu = run.queries.plu;
    goods.First();
    const GoodsFields f(goods);
    QHash<QString, int> unitCodes; // a chain has a handful of units and many goods
    for (; !goods.Eof(); goods.Next()) {
        const qint32 id = f.towId.GetAsInteger();
        if (!run.goodsSet.contains(id))
            continue;
        plu.Close();
        plu.setSql(
            QStringLiteral("select PrefPLU from KodDod where Kolejnosc=1 and TowId=%1").arg(id));
        plu.Open();
        const QString pluText =
            plu.Eof() ? QString() : plu.FieldByName(QStringLiteral("PrefPLU")).GetAsString();
        run.addLine(towRecord(id, f.kod.GetAsString(), pluText, f.name.GetAsString(),
                              f.unit.GetAsString(), f.stawka.GetAsInteger(), f.asId.GetAsInteger(),
                              f.group.GetAsString(), f.indeks2.GetAsString(), unitCodes));
    }
}

void writeMagSection(RunContext& run)
{
    run.addLine(QStringLiteral("MAG_N|ID_TOW|EAN|ILOSC_M|WART_M_CZ|"));
    const bool quantities = run.ticked(ParIlwMag);
    const bool values = run.ticked(ParWartwMag);
    if (!run.stockRead || (!quantities && !values))
        return;
    const auto record = [&](qint32 towId, const QString& kod, double price, double quantity) {
        run.addLine(RecordLine("MAG")
                        .whole(towId)
                        .text(eanField(kod))
                        .fixed(quantities ? quantity : 0.0, 3)
                        .fixed(values ? price * quantity : 0.0, 2)
                        .take());
    };
    if (run.statements == ExportStatements::SetBased) {
        run.addLines(run.magRecords); // written as the stock was read
        return;
    }
    TKMQuery& stock = run.queries.stock;
    stock.First();
    const TMField towId = stock.FieldByName(QStringLiteral("TowId"));
    const TMField kod = stock.FieldByName(QStringLiteral("Kod"));
    const TMField price = stock.FieldByName(QStringLiteral("CenaEw"));
    const TMField stanMag = stock.FieldByName(QStringLiteral("StanMag"));
    for (; !stock.Eof(); stock.Next()) {
        const double quantity = stanMag.GetAsExtended();
        if (quantity > 0)
            record(towId.GetAsInteger(), kod.GetAsString(), price.GetAsExtended(), quantity);
    }
}

} // namespace tarvexio
