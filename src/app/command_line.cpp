#include "app/command_line.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvexio {

namespace {

enum class Key { Baza, Ident, Test, FirstDelay, CheckPeriod, RetryPeriod, AttemptLimit };

struct KeyText {
    Key key;
    const char* text;
};

// The first key that the upper-cased argument starts with wins, in this order.
constexpr KeyText Keys[] = {
    {Key::Baza, "BAZA="},
    {Key::Ident, "IDENT="},
    {Key::Test, "TEST"},
    {Key::FirstDelay, "PIERWSZE_POLACZENIE_PO_N_S="},
    {Key::CheckPeriod, "SPRAWDAJ_CO_N_H="},
    {Key::RetryPeriod, "PONAWIAJ_PROBE_WYSLANIA_CO_N_H="},
    {Key::AttemptLimit, "MAX_LICZBA_PROBFTP="},
};

[[noreturn]] void conversionFailed(const QString& argument, const QString& value, const char* kind)
{
    throw EConvertError(QStringLiteral("%1: '%2' nie jest poprawną %3")
                            .arg(argument, value, QString::fromUtf8(kind))
                            .toStdString());
}

qint32 checkedInt32(double value, const QString& argument, const QString& text)
{
    if (!std::isfinite(value) || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<qint32>::max())
        conversionFailed(argument, text, "liczbą w dopuszczalnym zakresie");
    return static_cast<qint32>(value);
}

qint32 wholeNumber(const QString& argument, const QString& value)
{
    bool ok = false;
    const qint32 number = value.toInt(&ok, 10);
    if (!ok)
        conversionFailed(argument, value, "liczbą całkowitą");
    return number;
}

// A negative period is no period: the timer would refuse it and the agent would idle for ever.
double notNegative(double number, const QString& argument, const QString& value)
{
    if (number < 0)
        conversionFailed(argument, value, "liczbą nieujemną");
    return number;
}

qint32 seconds(const QString& argument, const QString& value)
{
    return checkedInt32(notNegative(wholeNumber(argument, value), argument, value) * 1000.0,
                        argument, value);
}

// The separator swap lets "1,5" and "1.5" both mean one and a half hours on any system.
qint32 hours(const QString& argument, const QString& value, QChar decimalSeparator)
{
    QString text = value;
    const QChar from = decimalSeparator != u',' ? QChar(u',') : QChar(u'.');
    const QChar to = decimalSeparator != u',' ? decimalSeparator : QChar(u',');
    if (const qsizetype at = text.indexOf(from); at >= 0)
        text[at] = to;
    if (decimalSeparator != u'.')
        text.replace(decimalSeparator, u'.');
    bool ok = false;
    const double hours = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(hours))
        conversionFailed(argument, value, "liczbą");
    return checkedInt32(std::trunc(notNegative(hours, argument, value) * 3600000.0), argument,
                        value);
}

// Letters to insert, delete or change to turn one word into the other.
qsizetype editDistance(const QString& a, const QString& b)
{
    QList<qsizetype> row(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[j];
            row[j] =
                std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

QStringList keyTexts()
{
    QStringList texts;
    for (const KeyText& key : Keys)
        texts << QString::fromLatin1(key.text);
    return texts;
}

} // namespace

QString nearestWord(const QString& word, const QStringList& candidates)
{
    QString nearest;
    // One letter off in a short word, a third of a longer one.
    qsizetype best = std::max<qsizetype>(1, word.size() / 3) + 1;
    for (const QString& candidate : candidates) {
        if (const qsizetype distance = editDistance(word, candidate); distance < best) {
            best = distance;
            nearest = candidate;
        }
    }
    return nearest;
}

QStringList unknownArguments(const QStringList& arguments)
{
    const QStringList keys = keyTexts();
    QStringList unknown;
    for (const QString& argument : arguments) {
        const QString upper = argument.toUpper();
        if (std::none_of(keys.begin(), keys.end(),
                         [&upper](const QString& key) { return upper.startsWith(key); }))
            unknown << argument;
    }
    return unknown;
}

QString nearestKey(const QString& argument)
{
    const QString upper = argument.toUpper();
    const qsizetype equals = upper.indexOf(u'=');
    return nearestWord(equals < 0 ? upper : upper.left(equals + 1), keyTexts());
}

bool isTestArgument(const QString& argument)
{
    return argument.toUpper().startsWith(QStringLiteral("TEST"));
}

void readArguments(const QStringList& arguments, CommandLineValues& values, QChar decimalSeparator)
{
    for (const QString& argument : arguments) {
        const QString upper = argument.toUpper();
        for (const KeyText& key : Keys) {
            const QString keyText = QString::fromLatin1(key.text);
            if (!upper.startsWith(keyText))
                continue;
            const QString value = argument.mid(keyText.size()).trimmed();
            switch (key.key) {
            case Key::Baza:
                values.databaseName = value;
                break;
            case Key::Ident:
                values.userIdent = value;
                break;
            case Key::Test:
                values.test = true;
                break;
            case Key::FirstDelay:
                values.numbers.firstConnectionDelay = seconds(argument, value);
                break;
            case Key::CheckPeriod:
                values.numbers.checkPeriod = hours(argument, value, decimalSeparator);
                break;
            case Key::RetryPeriod:
                values.numbers.retryPeriod = hours(argument, value, decimalSeparator);
                break;
            case Key::AttemptLimit:
                values.numbers.attemptLimit = wholeNumber(argument, value);
                break;
            }
            break;
        }
    }
}

void adjustPeriods(SchedulerNumbers& numbers)
{
    if (numbers.firstConnectionDelay == 100)
        numbers.firstConnectionDelay = 101;
    if (numbers.checkPeriod == 100)
        numbers.checkPeriod = 102;
    if (numbers.retryPeriod == 100)
        numbers.retryPeriod = 103;
    if (numbers.checkPeriod == numbers.firstConnectionDelay)
        numbers.checkPeriod = numbers.firstConnectionDelay + 110;
    if (numbers.retryPeriod == numbers.firstConnectionDelay)
        numbers.retryPeriod = numbers.firstConnectionDelay + 120;
}

QChar systemDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.front();
}

} // namespace tarvexio
