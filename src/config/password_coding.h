#pragma once

#include <QString>

namespace tarvexio {

// Passwords on their way into a store: three decimal characters per Windows-1250 byte
// ("abc" gives "086108092"). Characters that Windows-1250 lacks become "?".
QString KodowanieHasla(const QString& password);

// The inverse: groups of three characters, leftovers ignored.
QString dekodowanieHasla(const QString& coded);

} // namespace tarvexio
