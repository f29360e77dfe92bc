#pragma once

#include <QDate>
#include <QDateTime>

#include <optional>

namespace tarvexio {

// The day a scheduler tick exports: the day after the last exported one, when it has ended
// and is not yesterday's export already made. A gap of 2 to 99 days is caught up at any
// time, a gap of 100 days or more only from the daily time (hour:minute) on. None: an idle
// tick. A last day after today leaves nothing due; one before day 0 or invalid counts as day 0
// (30 December 1899).
std::optional<QDate> dueDay(const QDate& lastExported, const QDateTime& now, int hour, int minute);

// Whether a stored last exported day can be one: from day 0 up to a year after today. A day far
// off would name files with impossible dates, or keep every day waiting for ever.
bool sensibleLastExportedDay(const QDate& lastExported, const QDate& today);

} // namespace tarvexio
