#pragma once

#include <QString>

namespace tarvexio {

// A folder as the agent keeps it: without one trailing separator ("/" here; "\" or "/" on
// Windows). A lone root separator is left as it is.
QString WithoutTrailingSeparator(QString folder);

} // namespace tarvexio
