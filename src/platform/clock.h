#pragma once

#include <QDateTime>

namespace tarvexio {

// Time reaches the agent only through this port, so tests can fix "now" and skip pauses.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual void pause(int milliseconds) = 0;
};

class SystemClock final : public Clock {
public:
    // Tools that log many lines at once can leave the pauses out; so does every process of the
    // test suite (TARVEXIO_NO_PAUSES=1), whose scenarios wait for events, not for pacing.
    explicit SystemClock(bool pauses = !pausesLeftOut())
        : pauses_(pauses)
    {}
    static bool pausesLeftOut();
    QDateTime now() const override;
    void pause(int milliseconds) override;

private:
    bool pauses_;
};

} // namespace tarvexio
