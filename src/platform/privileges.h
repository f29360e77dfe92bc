#pragma once

namespace tarvexio {

// Whether the agent may change the machine's autostart entry: on Windows an elevated
// token; elsewhere the per-user entry is always the user's to change.
class Privileges {
public:
    virtual ~Privileges() = default;
    virtual bool IsRunAsAdmin() const;
};

} // namespace tarvexio
