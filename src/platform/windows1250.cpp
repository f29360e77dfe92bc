#include "platform/windows1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tarvexio {

QByteArray ToWindows1250(const QString& text)
{
    QStringEncoder encoder("windows-1250");
    QByteArray bytes = encoder.encode(text);
    // The codec marks what Windows-1250 lacks with SUB (0x1A); data files show "?" instead.
    // A real SUB in a database text is no character anybody wants in them either.
    bytes.replace('\x1A', '?');
    return bytes;
}

QString FromWindows1250(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

} // namespace tarvexio
