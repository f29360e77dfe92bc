#include "platform/windows1250.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tarvexio {

QByteArray ToWindows1250(const QString& text)
{
    QStringEncoder encoder("windows-1250");
    return encoder.encode(text);
}

QString FromWindows1250(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

} // namespace tarvexio
