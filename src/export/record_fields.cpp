#include "export/record_fields.h"

#include "export/number_format.h"

#include <charconv>

namespace tarvexio {

QString eanField(const QString& code)
{
    if (code.size() >= 14 && !code.contains(u'?'))
        return code; // most codes: no copy at all
    QString ean = code;
    ean.remove(u'?');
    if (ean.size() < 14)
        ean.prepend(QString(14 - ean.size(), u'0'));
    return ean;
}

QString withoutSeparators(QString text)
{
    return text.replace(u'|', u'/');
}

int unitCode(const QString& unitName)
{
    const QString name = unitName.toLower();
    const auto holdsAny = [&](std::initializer_list<const char*> tokens) {
        for (const char* token : tokens) {
            if (name.contains(QLatin1StringView(token)))
                return true;
        }
        return false;
    };
    if (holdsAny({"szt", "but", "kart", "pal", "op", "kpl", "dsp"}))
        return 1;
    if (holdsAny({"kg"}))
        return 2;
    if (holdsAny({"mb"}))
        return 3;
    if (holdsAny({"m2"}))
        return 4;
    if (holdsAny({"m3"}))
        return 5;
    if (holdsAny({"lt"}))
        return 6;
    return 1;
}

RecordLine::RecordLine(const char* type)
{
    line_.reserve(96); // most record lines in one allocation
    line_ += QLatin1StringView(type);
    line_ += u'|';
}

RecordLine& RecordLine::text(const QString& value)
{
    line_ += value;
    line_ += u'|';
    return *this;
}

// Numbers go straight into the line: a QString per field costs more than the digits.
RecordLine& RecordLine::whole(qint64 value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line_ += QLatin1StringView(digits, end - digits);
    line_ += u'|';
    return *this;
}

void appendRecordLine(QByteArray& records, const QByteArray& start)
{
    if (!records.isEmpty())
        records += "\r\n";
    records += start;
}

void appendFixedField(QByteArray& line, double value, int decimals)
{
    FixedPointBuffer buffer;
    line += fixedPoint(value, decimals, buffer);
    line += '|';
}

RecordLine& RecordLine::fixed(double value, int decimals)
{
    FixedPointBuffer buffer;
    line_ += fixedPoint(value, decimals, buffer);
    line_ += u'|';
    return *this;
}

} // namespace tarvexio
