#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace tarvexio {

// The remote-access service of the system: RAS on Windows, NetworkManager elsewhere.
class DialUpBackend {
public:
    enum class State { Connected, Disconnected, Other };
    struct Dialled {
        bool succeeded = false;
        QString handle; // may be set even when dialling failed; it must then be hung up
    };

    virtual ~DialUpBackend() = default;
    // Active remote-access connections (a LAN link does not count); none when unreadable.
    virtual std::optional<int> activeConnections() = 0;
    // Dials an entry and waits until it is up or has failed; an empty phonebook means the
    // system's own.
    virtual Dialled dial(const QString& phonebook, const QString& entry, const QString& user,
                         const QString& password) = 0;
    virtual std::optional<State> Status(const QString& handle) = 0;
    virtual bool hangUp(const QString& handle) = 0;
    // The entries that can be dialled, for the settings page; none when unreadable.
    virtual std::optional<QStringList> entries(const QString& phonebook) = 0;
};

// RAS on Windows, NetworkManager elsewhere.
std::unique_ptr<DialUpBackend> createSystemDialUpBackend();

} // namespace tarvexio
