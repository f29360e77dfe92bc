#include "export/number_format.h"

#include <charconv>

namespace tarvexio {

QString FixedPoint(double value, int decimals)
{
    // std::to_chars ignores the locale that QCoreApplication sets from the environment, where
    // printf would print a Polish decimal comma.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

} // namespace tarvexio
