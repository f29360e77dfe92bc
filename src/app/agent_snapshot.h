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
    QString exchangeDirectory;
    QDate lastExported;
    int hour = 0; // the daily time as the agent takes it (0 to 23, 0 to 59)
    int minute = 0;
    SchedulerNumbers numbers = SchedulerNumbers::defaults();
    QStringList waitingFiles;
    QDate oldestWaiting; // the oldest day a waiting file holds
    int failedAttempts = 0;
    bool attemptLimitReached = false;
    QStringList recentAlerts;
    QDateTime requestsLastLooked;
};

// The status the tool shows: the state, the next day by the day rule, the request files and
// their days as the agent reads them, and what alerts ("alerts", empty when all is well).
QJsonObject statusSnapshot(const AgentState& state);

} // namespace tarvexio
