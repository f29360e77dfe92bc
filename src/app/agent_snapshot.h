#pragma once

#include "app/command_line.h"

#include <QDate>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace tarvexio {

// What the agent holds that an operator asks about: from the running agent itself, or from its
// stores and defaults where none runs.
struct AgentState {
    bool running = false;
    QString settingsUnread; // why the settings are not read, when they are not
    qint64 pid = 0;
    QDateTime now;
    QDateTime started; // when the agent started; a backlog it found is caught up from then
    QString exchangeDirectory;
    QDate lastExported;
    int hour = 0; // the daily time as the agent takes it (0 to 23, 0 to 59)
    int minute = 0;
    SchedulerNumbers numbers = SchedulerNumbers::defaults();
    QStringList waitingFiles;
    QDate oldestWaiting; // the oldest day a waiting file holds
    QString lastFailure; // why the newest waiting file did not go, when it failed
    int failedAttempts = 0;
    bool attemptLimitReached = false;
    QStringList recentAlerts;
    QDateTime requestsLastLooked;
};

// How it stands, in the monitoring-plugin convention; the value is the exit status.
enum class Health { Ok = 0, Warning = 1, Critical = 2, Unknown = 3 };
QString healthName(Health health);

// The status the tool shows: "health" and "exitCode", one "summary" line ("CRITICAL -
// 05.12.2026 not delivered: …"), what is critical ("alerts") and what warns ("warnings"), and
// the state behind them as typed fields: ISO dates, counts as numbers.
QJsonObject statusSnapshot(const AgentState& state);

} // namespace tarvexio
