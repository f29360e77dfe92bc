#include "platform/windows1250.h"

#include <QList>

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace tarvexio {

namespace {

// Opening the codec costs far more than encoding a line; data files encode many lines.
QStringEncoder& sharedEncoder()
{
    thread_local QStringEncoder encoder("windows-1250");
    return encoder;
}

} // namespace

QByteArray toWindows1250(const QString& text)
{
    // Most data-file lines are plain ASCII, which every code page keeps as it is.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    QStringEncoder& encoder = sharedEncoder();
    QByteArray bytes = encoder.encode(text);
    if (!bytes.contains('\x1A'))
        return bytes;
    // The codec marks what Windows-1250 lacks with SUB (0x1A); "?" shows it instead, while a
    // real SUB character stays itself. Rare, so one code point at a time is fine here.
    bytes.clear();
    const QList<uint> codePoints = text.toUcs4();
    for (const uint codePoint : codePoints) {
        const auto unit = static_cast<char32_t>(codePoint);
        const QString one = QString::fromUcs4(&unit, 1);
        const QByteArray encoded = encoder.encode(one);
        bytes += codePoint != 0x1A && encoded == "\x1A" ? QByteArray("?") : encoded;
    }
    return bytes;
}

QString fromWindows1250(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

} // namespace tarvexio
