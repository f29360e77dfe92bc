#pragma once

#include <QString>

#include <stdexcept>

namespace tarvexio {

// Every failure of the database layer. Code 1002: the session is not connected.
class EQMXDBError : public std::runtime_error {
public:
    static constexpr int NotConnected = 1002;

    explicit EQMXDBError(const QString& message, int code = 0)
        : std::runtime_error(message.toStdString())
        , code_(code)
    {}

    int code() const { return code_; }

private:
    int code_;
};

} // namespace tarvexio
