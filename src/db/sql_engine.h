#pragma once

namespace tarvexio {

enum class SqlEngine { SQLite, PostgreSQL, ODBC };

} // namespace tarvexio
