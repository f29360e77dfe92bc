#pragma once

#include <QString>
#include <QStringList>

namespace tarvexio {

// A parameter line: the name left-aligned in columns 1 to 35, a blank, the value from column 37.
constexpr int ParameterNameWidth = 35;
constexpr int ParameterValueLength = 255;

void addParameterLine(QStringList& lines, const QString& name, const QString& value);

// The first 35 characters of line i, trimmed of blanks and control characters; empty for an
// index outside the list.
QString parameterName(const QStringList& lines, int i, int width = ParameterNameWidth);

// Up to 255 characters from column 35 (so a hand-edited value may start anywhere from column
// 36; a written value keeps at most 253), trimmed; empty for an index outside the list or a line
// shorter than the width.
QString parameterValue(const QStringList& lines, int i, int width = ParameterNameWidth);

// The number written by the digits at the end of text, when the character before them is the
// separator; else 0 ("Par#" and "123" give 0). Leading zeros count for nothing; a number
// beyond 32 bits gives 0.
int numberAfterSeparator(const QString& text, QChar separator);

// A stored text as both stores read it: leading and trailing blanks and control characters
// removed.
QString trimmedParameterText(QStringView text);

// A stored whole number, trimmed as above; the fallback when it is not a decimal number.
qint32 parameterNumber(const QString& text, qint32 fallback);

} // namespace tarvexio
