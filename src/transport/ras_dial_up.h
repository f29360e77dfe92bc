#pragma once

#include "transport/dial_up_backend.h"

namespace tarvexio {

// Windows remote access (RASAPI32): phonebook entries, synchronous dialling.
class RasDialUp final : public DialUpBackend {
public:
    std::optional<int> activeConnections() override;
    Dialled dial(const QString& phonebook, const QString& entry, const QString& user,
                 const QString& password) override;
    std::optional<State> Status(const QString& handle) override;
    bool hangUp(const QString& handle) override;
    std::optional<QStringList> entries(const QString& phonebook) override;
};

} // namespace tarvexio
