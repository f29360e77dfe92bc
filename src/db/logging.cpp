#include "db/logging.h"

Q_LOGGING_CATEGORY(lcDb, "tarvexio.db")
