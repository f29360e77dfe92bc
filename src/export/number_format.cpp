#include "export/number_format.h"

#include <charconv>

namespace tarvexio {

QLatin1StringView fixedPoint(double value, int decimals, FixedPointBuffer& buffer)
{
    // std::to_chars ignores the locale that QCoreApplication sets from the environment, where
    // printf would print a Polish decimal comma.
    const auto end = std::to_chars(buffer.digits, buffer.digits + sizeof buffer.digits, value,
                                   std::chars_format::fixed, decimals)
                         .ptr;
    return QLatin1StringView(buffer.digits, end - buffer.digits);
}

QString fixedPoint(double value, int decimals)
{
    FixedPointBuffer buffer;
    return fixedPoint(value, decimals, buffer);
}

} // namespace tarvexio
