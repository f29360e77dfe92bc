#include "export/chain_goods.h"

#include "db/query.h"
#include "db/session.h"
#include "export/polish_letters.h"
#include "export/record_fields.h"
#include "platform/windows1250.h"

namespace tarvexio {

GoodsFields::GoodsFields(TKMQuery& goods)
    : towId(goods.FieldByName(QStringLiteral("TowId")))
    , kod(goods.FieldByName(QStringLiteral("Kod")))
    , name(goods.FieldByName(QStringLiteral("NazwaTow")))
    , unit(goods.FieldByName(QStringLiteral("NazwaJM")))
    , stawka(goods.FieldByName(QStringLiteral("Stawka")))
    , asId(goods.FieldByName(QStringLiteral("AsId")))
    , group(goods.FieldByName(QStringLiteral("NazwaAs")))
    , indeks2(goods.FieldByName(QStringLiteral("Indeks2")))
{}

QString towRecord(qint32 id, const QString& kod, QString plu, const QString& name,
                  const QString& unit, qint32 stawka, qint32 asId, const QString& group,
                  const QString& indeks2, QHash<QString, int>& unitCodes)
{
    if (plu == u"0")
        plu.clear();
    auto unitCode = unitCodes.constFind(unit);
    if (unitCode == unitCodes.cend())
        unitCode = unitCodes.insert(unit, tarvexio::unitCode(unit));
    const qint32 vat = stawka / 100;
    QString line = RecordLine("TOW")
                       .whole(id)
                       .text(eanField(kod))
                       .text(plu)
                       .text(withoutSeparators(name))
                       .whole(*unitCode)
                       .whole(vat < 0 ? 0 : vat)
                       .whole(asId)
                       .text(withoutSeparators(group))
                       .text(indeks2.left(20))
                       .take();
    KonwertujPLString(line, PlWindows1250, PlAscii);
    return line;
}

void ChainGoods::load(TQMXBazaDanych& session, TKMQuery& goods)
{
    // Of several rows of one goods item, the first, as the per-goods statement returns it.
    TKMQuery plu;
    session.PowiazQuery(plu);
    plu.setSql(QStringLiteral("select TowId, PrefPLU from KodDod where Kolejnosc=1"));
    plu.Open();
    const TMField pluId = plu.FieldByName(QStringLiteral("TowId"));
    const TMField prefPlu = plu.FieldByName(QStringLiteral("PrefPLU"));
    for (; !plu.Eof(); plu.Next()) {
        const qint32 id = pluId.GetAsInteger();
        if (!plu_.contains(id))
            plu_.insert(id, prefPlu.GetAsString());
    }

    goods.First();
    const GoodsFields f(goods);
    for (; !goods.Eof(); goods.Next()) {
        goods_.append({f.towId.GetAsInteger(), f.kod.GetAsString(), f.name.GetAsString(),
                       f.unit.GetAsString(), f.stawka.GetAsInteger(), f.asId.GetAsInteger(),
                       f.group.GetAsString(), f.indeks2.GetAsString(), QByteArray()});
    }
    loaded_ = true;
}

const QByteArray& ChainGoods::towLine(qsizetype index)
{
    Goods& goods = goods_[index];
    if (goods.line.isEmpty())
        goods.line = toWindows1250(towRecord(goods.id, goods.kod, plu_.value(goods.id), goods.name,
                                             goods.unit, goods.stawka, goods.asId, goods.group,
                                             goods.indeks2, unitCodes_));
    return goods.line;
}

const QByteArray& ChainGoods::magPrefix(qint32 towId, const TMField& kod)
{
    auto known = magPrefixes_.constFind(towId);
    if (known == magPrefixes_.cend())
        known = magPrefixes_.insert(
            towId,
            toWindows1250(RecordLine("MAG").whole(towId).text(eanField(kod.GetAsString())).take()));
    return *known;
}

} // namespace tarvexio
