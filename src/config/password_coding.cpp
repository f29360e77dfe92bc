#include "config/password_coding.h"

#include "platform/windows1250.h"

namespace tarvexio {

namespace {

int evenShift(int i)
{
    return (2 * i) % 5 - 11;
}

int oddShift(int i)
{
    return -((2 * i + 1) % 7) + 13;
}

int shift(int i)
{
    return i % 2 == 0 ? evenShift(i) : oddShift(i);
}

} // namespace

QString KodowanieHasla(const QString& password)
{
    const QByteArray bytes = toWindows1250(password);
    QString coded;
    coded.reserve(bytes.size() * 3);
    for (int i = 0; i < bytes.size(); ++i) {
        int n = static_cast<signed char>(bytes[i]) + shift(i);
        // Bytes from 0x80 up are negative and can push n below -99, which needs four
        // characters. n + 256 keeps three and the same low eight bits, which is all the
        // decoding keeps, so any decoder of the format reads the byte back unchanged.
        if (n < -99)
            n += 256;
        coded += QString::asprintf("%03d", n);
    }
    return coded;
}

QString dekodowanieHasla(const QString& coded)
{
    QByteArray bytes;
    const int groups = int(coded.size() / 3);
    for (int k = 0; k < groups; ++k) {
        bool ok = false;
        const int n = coded.mid(qsizetype(k) * 3, 3).toInt(&ok);
        if (!ok)
            continue; // a hand-spoiled group loses its character, not the rest
        bytes.append(static_cast<char>((n - shift(k)) & 0xFF));
    }
    return fromWindows1250(bytes);
}

} // namespace tarvexio
