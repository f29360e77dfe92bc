#include "config/parameter_lines.h"

namespace tarvexio {

namespace {

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

QString TrimmedOfControls(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlankOrControl(text[begin]))
        ++begin;
    while (end > begin && IsBlankOrControl(text[end - 1]))
        --end;
    return text.mid(begin, end - begin).toString();
}

} // namespace

void AddParameterLine(QStringList& lines, const QString& name, const QString& value)
{
    lines.append(name.leftJustified(ParameterNameWidth) + u' ' + value);
}

QString ParameterName(const QStringList& lines, int i, int width)
{
    if (i < 0 || i >= lines.size())
        return {};
    return TrimmedOfControls(QStringView(lines[i]).left(width));
}

QString ParameterValue(const QStringList& lines, int i, int width)
{
    if (i < 0 || i >= lines.size() || lines[i].size() < width)
        return {};
    // Column 35 counted from 1: the value reader overlaps the name field by one column.
    return TrimmedOfControls(QStringView(lines[i]).mid(width - 1, ParameterValueLength));
}

int NumberAfterSeparator(const QString& text, QChar separator)
{
    constexpr int MaxDigits = 9; // beyond that no 32-bit shop id is meant
    int number = 0;
    int unit = 1;
    int digits = 0;
    qsizetype i = text.size() - 1;
    for (; i > 0 && text[i] >= u'0' && text[i] <= u'9'; --i) {
        if (++digits > MaxDigits)
            return 0;
        number += (text[i].unicode() - u'0') * unit;
        unit *= 10;
    }
    return i >= 0 && text[i] == separator ? number : 0;
}

} // namespace tarvexio
