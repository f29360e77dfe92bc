#include "export/goods_stock.h"

#include "db/export_queries.h"
#include "db/session.h"
#include "export/polish_letters.h"
#include "export/record_fields.h"
#include "export/run_context.h"

#include <QHash>

namespace tarvexio {

namespace {

QString ShopGoodsColumn(const char* expression, const char* extraTables, const char* extraJoin,
                        const char* alias)
{
    return QStringLiteral("(Select %1 FROM %2Towar T, SklepTowar ST where %3T.TowId=ST.TowId and "
                          "ST.SklepTowId=SPD.SklepTowId and ST.SklepId=SPD.SklepId) as %4")
        .arg(QLatin1StringView(expression), QLatin1StringView(extraTables),
             QLatin1StringView(extraJoin), QLatin1StringView(alias));
}

} // namespace

void OpenGoodsData(RunContext& run)
{
    TKMQuery& query = run.queries.goods;
    query.Close();
    query.SetSQL(QStringLiteral(
        "select T.TowId, T.Kod, T.Nazwa as NazwaTow, Jm.Nazwa as NazwaJM, T.Stawka, T.AsId, "
        "A.Nazwa as NazwaAs, T.Indeks2 from Towar T, JM Jm, Asort A "
        " where Jm.JMId=T.JMId and A.AsId=T.AsId order by T.TowId"));
    query.Open();
}

void OpenStockData(RunContext& run)
{
    TKMQuery& query = run.queries.stock;
    query.Close();
    run.stockRead = run.dataDate.daysTo(run.today) <= 7;
    if (!run.stockRead)
        return;
    query.SetSQL(QStringLiteral(
                     "select T.TowId, T.Kod, T.CenaEw,  (select Sum(StanMag) from SklepIstw as SI, "
                     "SklepTowar ST where SI.SklepTowId=ST.SklepTowId and SI.SklepId=ST.SklepId "
                     "and ST.TowId=T.TowId and SI.SklepId=%1) as StanMag from Towar T order by "
                     "T.TowId")
                     .arg(run.shopId));
    query.Open();
}

void BuildGoodsSet(RunContext& run)
{
    run.goodsSet.clear();
    TKMQuery& moved = run.queries.goodsSet;
    moved.Close();
    moved.SetSQL(
        QStringLiteral("select   (select T.TowId from Towar T, SklepTowar ST where "
                       "T.TowId=ST.TowId and ST.SklepTowId=SPD.SklepTowId and "
                       "ST.SklepId=SPD.SklepId) as TowId,  (select T.Kod from Towar T, "
                       "SklepTowar ST where T.TowId=ST.TowId and "
                       "ST.SklepTowId=SPD.SklepTowId and ST.SklepId=SPD.SklepId) as Kod,  ") +
        ShopGoodsColumn("T.Nazwa", "", "", "NazwaTow") + QStringLiteral(",  ") +
        ShopGoodsColumn("T.Stawka", "", "", "Stawka") + QStringLiteral(",  ") +
        ShopGoodsColumn("T.Indeks2", "", "", "Indeks2") + QStringLiteral(",  ") +
        QStringLiteral("(Select jm.Nazwa FROM JM jm, Towar T, SklepTowar ST Where "
                       "jm.JmId=T.JmId and T.TowId=ST.TowId and "
                       "ST.SklepTowId=SPD.SklepTowId and ST.SklepId=SPD.SklepId) as "
                       "NazwaJM,  ") +
        ShopGoodsColumn("asort.Nazwa", "Asort asort, ", "asort.AsId=T.AsId and ", "NazwaAs") +
        QStringLiteral("  from SklepDok SD, SklepPozDok SPD  where SD.TypDok in "
                       "(%1, %2, %3, %4, %5) and SD.Aktywny<>0 and SD.Data=%6 and "
                       "SPD.SklepDokId=SD.SklepDokId and SPD.SklepId=SD.SklepId and "
                       "SD.SklepId=%7 order by TowId")
            .arg(20)
            .arg(21)
            .arg(2)
            .arg(8)
            .arg(4)
            .arg(run.session.ToDBField(run.dataDate))
            .arg(run.shopId));
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
    TKMQuery& stock = run.queries.stock;
    if (!run.stockRead || !run.ticked(ParIlwMag))
        return;
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

void WriteTowSection(RunContext& run)
{
    run.lines.append(
        QStringLiteral("TOW_N|ID_TOW|EAN|PLU|NAZWA|KOD_JM|ST_VAT|NR_GR|NAZWA_GR|PKWIU|"));
    TKMQuery& goods = run.queries.goods;
    TKMQuery& plu = run.queries.plu;
    goods.First();
    const TMField towId = goods.FieldByName(QStringLiteral("TowId"));
    const TMField kod = goods.FieldByName(QStringLiteral("Kod"));
    const TMField name = goods.FieldByName(QStringLiteral("NazwaTow"));
    const TMField unit = goods.FieldByName(QStringLiteral("NazwaJM"));
    const TMField stawka = goods.FieldByName(QStringLiteral("Stawka"));
    const TMField asId = goods.FieldByName(QStringLiteral("AsId"));
    const TMField groupName = goods.FieldByName(QStringLiteral("NazwaAs"));
    const TMField indeks2 = goods.FieldByName(QStringLiteral("Indeks2"));
    const QString pluStatement =
        QStringLiteral("select PrefPLU from KodDod where Kolejnosc=1 and TowId=");
    QHash<QString, int> unitCodes; // a chain has a handful of units and many goods
    const auto unitCode = [&unitCodes](const QString& name) {
        auto known = unitCodes.constFind(name);
        if (known == unitCodes.cend())
            known = unitCodes.insert(name, UnitCode(name));
        return *known;
    };
    for (; !goods.Eof(); goods.Next()) {
        const qint32 id = towId.GetAsInteger();
        if (!run.goodsSet.contains(id))
            continue;
        plu.Close();
        plu.SetSQL(
            QStringLiteral("select PrefPLU from KodDod where Kolejnosc=1 and TowId=%1").arg(id));
        plu.Open();
        QString pluText;
        if (!plu.Eof()) {
            pluText = plu.FieldByName(QStringLiteral("PrefPLU")).GetAsString();
            if (pluText == u"0")
                pluText.clear();
        }
        const qint32 vat = stawka.GetAsInteger() / 100;
        QString line = RecordLine("TOW")
                           .whole(id)
                           .text(EanField(kod.GetAsString()))
                           .text(pluText)
                           .text(WithoutSeparators(name.GetAsString()))
                           .whole(unitCode(unit.GetAsString()))
                           .whole(vat < 0 ? 0 : vat)
                           .whole(asId.GetAsInteger())
                           .text(WithoutSeparators(groupName.GetAsString()))
                           .text(indeks2.GetAsString().left(20))
                           .take();
        KonwertujPLString(line, PlWindows1250, PlAscii);
        run.lines.append(line);
    }
}

void WriteMagSection(RunContext& run)
{
    run.lines.append(QStringLiteral("MAG_N|ID_TOW|EAN|ILOSC_M|WART_M_CZ|"));
    const bool quantities = run.ticked(ParIlwMag);
    const bool values = run.ticked(ParWartwMag);
    if (!run.stockRead || (!quantities && !values))
        return;
    TKMQuery& stock = run.queries.stock;
    stock.First();
    const TMField towId = stock.FieldByName(QStringLiteral("TowId"));
    const TMField kod = stock.FieldByName(QStringLiteral("Kod"));
    const TMField price = stock.FieldByName(QStringLiteral("CenaEw"));
    const TMField stanMag = stock.FieldByName(QStringLiteral("StanMag"));
    for (; !stock.Eof(); stock.Next()) {
        const double quantity = stanMag.GetAsExtended();
        if (!(quantity > 0))
            continue;
        const double value = price.GetAsExtended() * quantity;
        run.lines.append(RecordLine("MAG")
                             .whole(towId.GetAsInteger())
                             .text(EanField(kod.GetAsString()))
                             .fixed(quantities ? quantity : 0.0, 3)
                             .fixed(values ? value : 0.0, 2)
                             .take());
    }
}

} // namespace tarvexio
