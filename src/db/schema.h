#pragma once

#include "db/sql_engine.h"

#include <QString>
#include <QStringList>

namespace tarvexio {

class TQMXBazaDanych;

// The statements of the shipped schema for an engine (tables, keys, indexes).
QStringList schemaStatements(SqlEngine engine);

// Creates the schema in an empty database, in one transaction.
void createSchema(TQMXBazaDanych& session);

} // namespace tarvexio
