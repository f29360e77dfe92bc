#include "export/polish_letters.h"

namespace tarvexio {

void KonwertujPLString(QString& text, TQMXplType from, TQMXplType to)
{
    if (from == to || to != PlAscii)
        return;
    static const QString polish = QStringLiteral("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    static const QString plain = QStringLiteral("acelnoszzACELNOSZZ");
    for (QChar& c : text) {
        if (c.unicode() < 0x80)
            continue;
        if (const qsizetype at = polish.indexOf(c); at >= 0)
            c = plain[at];
    }
}

} // namespace tarvexio
