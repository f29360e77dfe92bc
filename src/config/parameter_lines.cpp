#include "config/parameter_lines.h"

#include <algorithm>
#include <limits>

namespace tarvexio {

namespace {

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

} // namespace

QString trimmedParameterText(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text[begin]))
        ++begin;
    while (end > begin && isBlankOrControl(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

qint32 parameterNumber(const QString& text, qint32 fallback)
{
    bool ok = false;
    const qint32 number = trimmedParameterText(text).toInt(&ok, 10);
    return ok ? number : fallback;
}

void addParameterLine(QStringList& lines, const QString& name, const QString& value)
{
    lines.append(name.leftJustified(ParameterNameWidth) + u' ' + value);
}

QString parameterName(const QStringList& lines, int i, int width)
{
    if (i < 0 || i >= lines.size())
        return {};
    return trimmedParameterText(QStringView(lines[i]).left(width));
}

QString parameterValue(const QStringList& lines, int i, int width)
{
    if (i < 0 || i >= lines.size() || lines[i].size() < width)
        return {};
    // Column 35 counted from 1: the value reader overlaps the name field by one column.
    return trimmedParameterText(QStringView(lines[i]).mid(width - 1, ParameterValueLength));
}

int numberAfterSeparator(const QString& text, QChar separator)
{
    constexpr qint64 Largest = std::numeric_limits<qint32>::max();
    qint64 number = 0;
    qint64 unit = 1;
    bool tooLarge = false;
    qsizetype i = text.size() - 1;
    for (; i > 0 && text[i] >= u'0' && text[i] <= u'9'; --i) {
        if (const int digit = text[i].unicode() - u'0'; digit != 0) {
            tooLarge = tooLarge || unit > Largest;
            number += unit > Largest ? 0 : digit * unit;
        }
        unit = std::min(unit * 10, Largest + 1);
    }
    if (tooLarge || number > Largest)
        return 0;
    return i >= 0 && text[i] == separator ? static_cast<int>(number) : 0;
}

} // namespace tarvexio
