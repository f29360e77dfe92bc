#include "app/command_line.h"

#include <QLocale>

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

[[noreturn]] void ConversionFailed(const QString& argument, const QString& value, const char* kind)
{
    throw EConvertError(QStringLiteral("%1: '%2' nie jest poprawną %3")
                            .arg(argument, value, QString::fromUtf8(kind))
                            .toStdString());
}

qint32 CheckedInt32(double value, const QString& argument, const QString& text)
{
    if (!std::isfinite(value) || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<qint32>::max())
        ConversionFailed(argument, text, "liczbą w dopuszczalnym zakresie");
    return static_cast<qint32>(value);
}

qint32 WholeNumber(const QString& argument, const QString& value)
{
    bool ok = false;
    const qint32 number = value.toInt(&ok, 10);
    if (!ok)
        ConversionFailed(argument, value, "liczbą całkowitą");
    return number;
}

// A negative period is no period: the timer would refuse it and the agent would idle for ever.
double NotNegative(double number, const QString& argument, const QString& value)
{
    if (number < 0)
        ConversionFailed(argument, value, "liczbą nieujemną");
    return number;
}

qint32 Seconds(const QString& argument, const QString& value)
{
    return CheckedInt32(NotNegative(WholeNumber(argument, value), argument, value) * 1000.0,
                        argument, value);
}

// The separator swap lets "1,5" and "1.5" both mean one and a half hours on any system.
qint32 Hours(const QString& argument, const QString& value, QChar decimalSeparator)
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
        ConversionFailed(argument, value, "liczbą");
    return CheckedInt32(std::trunc(NotNegative(hours, argument, value) * 3600000.0), argument,
                        value);
}

} // namespace

bool IsTestArgument(const QString& argument)
{
    return argument.toUpper().startsWith(QStringLiteral("TEST"));
}

void ReadArguments(const QStringList& arguments, CommandLineValues& values, QChar decimalSeparator)
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
                values.numbers.firstConnectionDelay = Seconds(argument, value);
                break;
            case Key::CheckPeriod:
                values.numbers.checkPeriod = Hours(argument, value, decimalSeparator);
                break;
            case Key::RetryPeriod:
                values.numbers.retryPeriod = Hours(argument, value, decimalSeparator);
                break;
            case Key::AttemptLimit:
                values.numbers.attemptLimit = WholeNumber(argument, value);
                break;
            }
            break;
        }
    }
}

void AdjustPeriods(SchedulerNumbers& numbers)
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

QChar SystemDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.front();
}

} // namespace tarvexio
