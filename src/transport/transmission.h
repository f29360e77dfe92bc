#pragma once

#include <QString>

namespace tarvexio {

struct TFtpJobResult;
struct TParametryFtp;

// The transmission dialog: a send job on a worker thread behind a modal window that lists
// the job's steps and offers "Przerwij".
class Transmission {
public:
    virtual ~Transmission() = default;
    // Returns once the job has ended; false when the user pressed "Przerwij". The job fills
    // the result.
    virtual bool RunTransmission(const TParametryFtp& parameters, const QString& localPath,
                                 TFtpJobResult* result) = 0;
};

} // namespace tarvexio
