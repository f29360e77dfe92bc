#include "db/export_queries.h"

#include "db/session.h"

namespace tarvexio {

void ExportQueries::bindAll(TQMXBazaDanych& session)
{
    for (TKMQuery* query : {&sales, &purchases, &goods, &goodsSet, &stock, &plu})
        session.PowiazQuery(*query);
}

} // namespace tarvexio
