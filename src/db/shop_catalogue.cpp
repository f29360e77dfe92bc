#include "db/shop_catalogue.h"

#include "db/query.h"
#include "db/session.h"

namespace tarvexio {

TDmQMXWDWykazy::TDmQMXWDWykazy(TQMXBazaDanych& session)
    : session_(session)
{}

void TDmQMXWDWykazy::WczytajKonfiguracje()
{
    TKMQuery query;
    session_.PowiazQuery(query);
    query.setSql(QStringLiteral("select SklepId, Nazwa from Sklep order by Nazwa, SklepId"));
    query.Open();
    const TMField id = query.FieldByName(QStringLiteral("SklepId"));
    const TMField name = query.FieldByName(QStringLiteral("Nazwa"));
    QVector<Shop> shops;
    for (; !query.Eof(); query.Next())
        shops.append(Shop{id.GetAsInteger(), name.GetAsString()});
    shops_ = std::move(shops);
}

} // namespace tarvexio
