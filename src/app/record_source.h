#pragma once

namespace tarvexio {

class TKonfigEksportu;

// The settings record the agent works with: none before the first connected session.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    virtual TKonfigEksportu* record() const = 0;
};

} // namespace tarvexio
