#pragma once

#include <QLatin1StringView>
#include <QString>

namespace tarvexio {

// Room for any double in fixed-point notation.
struct FixedPointBuffer {
    char digits[400];
};

// A double in fixed-point with the given decimals: "." whatever the locale, no grouping, the
// exact binary value rounded to nearest (the digits printf gives in the C locale). The view
// points into buffer.
QLatin1StringView fixedPoint(double value, int decimals, FixedPointBuffer& buffer);
QString fixedPoint(double value, int decimals);

} // namespace tarvexio
