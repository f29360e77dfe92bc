#pragma once

#include "transport/dial_up_step.h"

#include <QString>

namespace tarvexio {

class Clock;
class DialUpBackend;

// The dial-up step of one job: dial only when dial-up is on and no remote-access connection
// is active; hang up only what this job dialled.
class DialUpConnection final : public DialUpStep {
public:
    static constexpr int PollPauseMs = 100;
    static constexpr int PauseAfterHangUpMs = 2000;

    DialUpConnection(DialUpBackend& backend, Clock& clock);

    bool DialUp(const TParametryFtp& parameters, FtpJobDialog* dialog) override;
    void HangUpIfDialled() override;

private:
    bool fail(FtpJobDialog* dialog, const char* text);

    DialUpBackend& backend_;
    Clock& clock_;
    bool NoDialNeeded = false;
    bool Dialled = false;
    QString handle_;
};

} // namespace tarvexio
