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
    QDateTime now() const override;
    void pause(int milliseconds) override;
};

} // namespace tarvexio
