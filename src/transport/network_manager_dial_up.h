#pragma once

#include "transport/dial_up_backend.h"

#include <functional>

namespace tarvexio {

// NetworkManager through nmcli: an entry is a connection profile of a dial kind (gsm, cdma,
// pppoe, vpn); the handle is the profile's name. The phonebook path has no meaning here.
class NetworkManagerDialUp final : public DialUpBackend {
public:
    struct Result {
        int exitCode = -1;
        QString output;
    };
    // Runs nmcli with the arguments; replaceable so the parsing can be tested without it.
    using Runner = std::function<Result(const QStringList& arguments)>;

    explicit NetworkManagerDialUp(Runner runner = {});

    std::optional<int> activeConnections() override;
    Dialled dial(const QString& phonebook, const QString& entry, const QString& user,
                 const QString& password) override;
    std::optional<State> Status(const QString& handle) override;
    bool hangUp(const QString& handle) override;
    std::optional<QStringList> entries(const QString& phonebook) override;

    // nmcli's terse output: fields split at ":" with "\:" and "\\" unescaped.
    static QStringList terseFields(const QString& line);
    static bool isDialKind(const QString& type);

private:
    Runner run_;
};

} // namespace tarvexio
