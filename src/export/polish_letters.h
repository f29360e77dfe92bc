#pragma once

#include <QString>

namespace tarvexio {

// The character kinds of the Polish-letter conversion: 0 is Windows-1250 text, 7 the same text
// with the diacritics taken off (ą→a, Ł→L, ...).
enum TQMXplType { PlWindows1250 = 0, PlAscii = 7 };

// Converts the Polish letters of text in place; nothing happens when the kinds are equal.
void KonwertujPLString(QString& text, TQMXplType from, TQMXplType to);

} // namespace tarvexio
