#include "app/day_rule.h"

#include "config/settings_record.h"

namespace tarvexio {

std::optional<QDate> dueDay(const QDate& lastExported, const QDateTime& now, int hour, int minute)
{
    // A stored day after today (a clock set back) leaves nothing due, however far ahead.
    if (lastExported.isValid() && lastExported > now.date())
        return std::nullopt;
    const qint32 last =
        sensibleLastExportedDay(lastExported, now.date()) ? dayNumber(lastExported) : 0;
    const qint32 gap = dayNumber(now.date()) - last;
    const bool catchUp = gap > 1 && gap < 100;
    const QTime time = now.time();
    const bool afterDailyTime =
        time.hour() > hour || (time.hour() == hour && time.minute() >= minute);
    if (!catchUp && !(afterDailyTime && gap > 1))
        return std::nullopt;
    return dayFromNumber(last + 1);
}

bool sensibleLastExportedDay(const QDate& lastExported, const QDate& today)
{
    return lastExported.isValid() && lastExported >= dayFromNumber(0) &&
           lastExported <= today.addDays(366);
}

} // namespace tarvexio
