#pragma once

#include <QString>

namespace tarvexio {

// A double in fixed-point with the given decimals: "." whatever the locale, no grouping, the
// exact binary value rounded to nearest (the digits printf gives in the C locale).
QString FixedPoint(double value, int decimals);

} // namespace tarvexio
