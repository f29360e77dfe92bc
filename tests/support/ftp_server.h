#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace tarvexio::test {

// Ends a server: SIGTERM, then SIGKILL if it does not end in 5 s.
void stop(QProcess& process);

// tests/fixtures/faulty_ftp_server.py on 127.0.0.1 with a temporary root, for the life of the
// object.
class FtpServer {
public:
    // faults: the script's own options ("--refuse", "RNTO", "--hang", ...).
    explicit FtpServer(const QStringList& faults = {});
    ~FtpServer() { stop(process_); }
    FtpServer(const FtpServer&) = delete;
    FtpServer& operator=(const FtpServer&) = delete;

    bool started() const { return port_ > 0; }
    quint16 port() const { return port_; }
    QString root() const { return root_.path(); }
    // Every command received so far; PWD and the passive-mode commands that libcurl adds
    // for its own needs are left out.
    QStringList commands() const;
    QStringList allCommands() const;

private:
    QTemporaryDir root_;
    QTemporaryDir work_;
    QProcess process_;
    quint16 port_ = 0;
};

// A port on 127.0.0.1 that nothing listens on at the moment.
quint16 freePort();

} // namespace tarvexio::test
