#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace tarvexio {

// A number argument that is not a number.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The scheduler's timing, in milliseconds, and the upload attempt limit.
struct SchedulerNumbers {
    qint32 firstConnectionDelay = 0;
    qint32 checkPeriod = 0;
    qint32 retryPeriod = 0;
    qint32 attemptLimit = 0;

    static SchedulerNumbers defaults() { return {180000, 30000, 900000, 5}; }
    friend bool operator==(const SchedulerNumbers&, const SchedulerNumbers&) = default;
};

struct CommandLineValues {
    QString databaseName;
    QString userIdent;
    bool test = false;
    SchedulerNumbers numbers = SchedulerNumbers::defaults();
};

// Reads every argument into values (later arguments override earlier ones); raises
// EConvertError on a number that is not one. decimalSeparator is the system's.
void readArguments(const QStringList& arguments, CommandLineValues& values, QChar decimalSeparator);

// The arguments that name no key, which readArguments passes over.
QStringList unknownArguments(const QStringList& arguments);
// The key an unknown argument was most likely meant to be ("SPRAWDAJ_CO_N_H="), or none.
QString nearestKey(const QString& argument);
// Of candidates, the one a misspelt word was most likely meant to be, or none when none is
// close (a few letters off at most).
QString nearestWord(const QString& word, const QStringList& candidates);

// The work timer tells the scheduler's phases apart by its interval, so the periods must
// differ from the 100 ms start marker and from the first connection delay.
void adjustPeriods(SchedulerNumbers& numbers);

// Whether one argument asks for test mode (any argument beginning with "TEST", any case).
bool isTestArgument(const QString& argument);

QChar systemDecimalSeparator();

} // namespace tarvexio
