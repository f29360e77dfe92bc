#include "export/sales_purchases.h"

#include "db/export_queries.h"
#include "db/session.h"
#include "export/record_fields.h"
#include "export/run_context.h"

namespace tarvexio {

namespace {

const QString GoodsOfPosition =
    QStringLiteral("(select T.TowId from Towar T, SklepTowar ST where T.TowId=ST.TowId and "
                   "ST.SklepTowId=SPD.SklepTowId and ST.SklepId=SPD.SklepId) as TowId");
const QString CodeOfPosition =
    QStringLiteral("(select T.Kod from Towar T, SklepTowar ST where T.TowId=ST.TowId and "
                   "ST.SklepTowId=SPD.SklepTowId and ST.SklepId=SPD.SklepId) as Kod");

QString dayAndShop(const RunContext& run)
{
    return QStringLiteral(" and SD.Aktywny<>0 and SD.Data=%1 and SPD.SklepDokId=SD.SklepDokId and "
                          "SPD.SklepId=SD.SklepId and SD.SklepId=%2")
        .arg(run.session.ToDBField(run.dataDate))
        .arg(run.shopId);
}

} // namespace

QString reducedTaxNumber(const QString& nip)
{
    QString reduced;
    for (const QChar c : nip) {
        if (c >= u'0' && c <= u'9')
            reduced += c;
        else if (c == u'o' || c == u'O')
            reduced += u'0';
    }
    return reduced.left(10);
}

void openSalesData(RunContext& run)
{
    TKMQuery& query = run.queries.sales;
    query.Close();
    query.setSql(QStringLiteral("select ") + GoodsOfPosition + QStringLiteral(", ") +
                 CodeOfPosition +
                 QStringLiteral(", (SPD.IloscPlus-SPD.IloscMinus) as Ilosc, SPD.CenaDet, "
                                "SPD.CenaPoRab, SPD.Stawka, SPD.Wartosc, SPD.CenaMag, SD.TypDok "
                                "from SklepDok SD, SklepPozDok SPD where SD.TypDok in ") +
                 QStringLiteral("(%1, %2, %3)").arg(20).arg(21).arg(8) + dayAndShop(run) +
                 QStringLiteral(" order by TowId"));
    query.Open();
}

void openPurchaseData(RunContext& run)
{
    TKMQuery& query = run.queries.purchases;
    query.Close();
    query.setSql(QStringLiteral("select  ") + GoodsOfPosition + QStringLiteral(",  ") +
                 CodeOfPosition +
                 QStringLiteral(",  (Select K.NIP From Kontrahent K, SklepKontr SK where "
                                "K.KontrId=SK.KontrId and SK.SklepKontrId=SD.SklepKontrId and "
                                "SK.SklepId=SD.SklepId) as NIP,  (SPD.IloscPlus-SPD.IloscMinus) as "
                                "Ilosc,  SPD.CenaPoRab, SPD.Wartosc, SPD.TypPoz, SD.TypDok from "
                                "SklepDok SD, SklepPozDok SPD where SD.TypDok in ") +
                 QStringLiteral("(%1, %2)").arg(2).arg(4) + dayAndShop(run) +
                 QStringLiteral(" order by TowId, NIP"));
    query.Open();
}

namespace {

// The sales statement's columns, looked up once.
struct SalesFields {
    explicit SalesFields(TKMQuery& query)
        : towId(query.FieldByName(QStringLiteral("TowId")))
        , kod(query.FieldByName(QStringLiteral("Kod")))
        , ilosc(query.FieldByName(QStringLiteral("Ilosc")))
        , cenaDet(query.FieldByName(QStringLiteral("CenaDet")))
        , cenaPoRab(query.FieldByName(QStringLiteral("CenaPoRab")))
        , stawka(query.FieldByName(QStringLiteral("Stawka")))
        , cenaMag(query.FieldByName(QStringLiteral("CenaMag")))
        , typDok(query.FieldByName(QStringLiteral("TypDok")))
    {}
    TMField towId, kod, ilosc, cenaDet, cenaPoRab, stawka, cenaMag, typDok;
};

} // namespace

void writeSprSection(RunContext& run)
{
    run.addLine(QStringLiteral("SPR_N|ID_TOW|EAN|ILOSC_S|CENA_S|WART_S_CZ|WART_S_CS|ILOSC_PAR|"));
    run.counts.IL_SPR = 0;
    const bool prices = run.ticked(ParCenySp);
    const bool saleValues = run.ticked(ParDzWartSprzwCenSprz);
    const bool purchaseValues = run.ticked(ParDzWartSprzwCenZak);

    TKMQuery& sales = run.queries.sales;
    sales.First();
    const SalesFields f(sales);

    qint32 previous = -1;
    QString ean;
    double rate = 0, price = 0, quantity = 0, purchaseValue = 0, saleValue = 0;
    qint32 positions = 0;
    const auto emitRecord = [&] {
        run.addLine(RecordLine("SPR")
                        .whole(previous)
                        .text(ean)
                        .fixed(quantity, 3)
                        .fixed(price, 2)
                        .fixed(purchaseValue, 2)
                        .fixed(saleValue, 2)
                        .whole(positions)
                        .take());
        ++run.counts.IL_SPR;
    };
    for (; !sales.Eof(); sales.Next()) {
        const qint32 id = f.towId.GetAsInteger();
        if (id != previous) {
            if (previous != -1)
                emitRecord();
            previous = id;
            rate = f.stawka.GetAsInteger() * 0.0001;
            if (rate < 0)
                rate = 0;
            quantity = purchaseValue = saleValue = 0;
            positions = 0;
            ean = eanField(f.kod.GetAsString());
            price = prices ? (1 + rate) * f.cenaDet.GetAsExtended() : 0;
        }
        double q = f.ilosc.GetAsExtended();
        if (f.typDok.GetAsInteger() == 8)
            q = -q;
        quantity += q;
        if (saleValues)
            saleValue += f.cenaPoRab.GetAsExtended() * (1 + rate) * q;
        if (purchaseValues)
            purchaseValue += f.cenaMag.GetAsExtended() * q;
        ++positions;
    }
    if (previous != -1)
        emitRecord();
}

void writeZakSection(RunContext& run)
{
    run.addLine(QStringLiteral("ZAK_N|NIP|ID_TOW|EAN|ILOSC_Z|CENA_Z|WART_Z_CZ|"));
    run.counts.IL_ZAK = 0;
    const bool taxNumbers = run.ticked(ParNIPKontrPar);

    TKMQuery& purchases = run.queries.purchases;
    purchases.First();
    const TMField towId = purchases.FieldByName(QStringLiteral("TowId"));
    const TMField kod = purchases.FieldByName(QStringLiteral("Kod"));
    const TMField nip = purchases.FieldByName(QStringLiteral("NIP"));
    const TMField ilosc = purchases.FieldByName(QStringLiteral("Ilosc"));
    const TMField cenaPoRab = purchases.FieldByName(QStringLiteral("CenaPoRab"));
    const TMField wartosc = purchases.FieldByName(QStringLiteral("Wartosc"));
    const TMField typDok = purchases.FieldByName(QStringLiteral("TypDok"));

    qint32 previous = -1;
    QString previousNip;
    QString ean;
    double quantity = 0, price = 0, value = 0;
    const auto emitRecord = [&] {
        run.addLine(RecordLine("ZAK")
                        .text(taxNumbers ? previousNip : QStringLiteral("9999999999"))
                        .whole(previous)
                        .text(ean)
                        .fixed(quantity, 3)
                        .fixed(price, 2)
                        .fixed(value, 2)
                        .take());
        ++run.counts.IL_ZAK;
    };
    for (; !purchases.Eof(); purchases.Next()) {
        const qint32 id = towId.GetAsInteger();
        const QString taxNumber = reducedTaxNumber(nip.GetAsString());
        if (id != previous || taxNumber != previousNip) {
            if (previous != -1)
                emitRecord();
            previous = id;
            previousNip = taxNumber;
            quantity = value = 0;
            ean = eanField(kod.GetAsString());
        }
        double q = ilosc.GetAsExtended();
        if (typDok.GetAsInteger() == 4)
            q = -q;
        quantity += q;
        price = cenaPoRab.GetAsExtended();
        value += wartosc.GetAsExtended();
    }
    if (previous != -1)
        emitRecord();
}

} // namespace tarvexio
