#pragma once

#include "db/query.h"

namespace tarvexio {

class TQMXBazaDanych;

// The export's six queries, created with each session and reused by every run of it.
struct ExportQueries {
    TKMQuery sales;
    TKMQuery purchases;
    TKMQuery goods;
    TKMQuery goodsSet;
    TKMQuery stock;
    TKMQuery plu;

    void bindAll(TQMXBazaDanych& session);
};

} // namespace tarvexio
