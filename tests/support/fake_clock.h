#pragma once

#include "platform/clock.h"

#include <QList>

namespace tarvexio::test {

// Time stands still unless a test moves it; pauses are recorded and advance it instantly.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2026, 12, 4), QTime(7, 5, 9)))
        : now_(std::move(now))
    {}

    QDateTime now() const override { return now_; }
    void pause(int milliseconds) override
    {
        pauses.append(milliseconds);
        if (pausesAdvance)
            now_ = now_.addMSecs(milliseconds);
    }
    void set(const QDateTime& now) { now_ = now; }

    QList<int> pauses;
    bool pausesAdvance = true; // false: a run of work all stamped with the same second

private:
    QDateTime now_;
};

} // namespace tarvexio::test
