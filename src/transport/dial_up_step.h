#pragma once

namespace tarvexio {

class FtpJobDialog;
struct TParametryFtp;

// Dialling a connection before a job and hanging it up after, when the settings ask for it.
class DialUpStep {
public:
    virtual ~DialUpStep() = default;
    // False when a needed connection could not be made (the cause already reported).
    virtual bool DialUp(const TParametryFtp& parameters, FtpJobDialog* dialog) = 0;
    virtual void HangUpIfDialled() = 0; // never raises: a line that stays up is retried later
};

} // namespace tarvexio
