#pragma once

#include "support/files.h"
#include "support/ftp_server.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace tarvexio::test {

// Debian's vsftpd on 127.0.0.1, in the foreground, for the life of the object. Anonymous
// users may upload into the folder "in" of its root and rename and delete there. With TLS
// it requires TLS for the login and for data, with a self-signed certificate for 127.0.0.1.
// It must run as root (it changes its root and drops to the "ftp" user).
class Vsftpd {
public:
    // protocol: "" for what OpenSSL offers by default, or an OpenSSL system_default line
    // that limits the server ("MinProtocol = TLSv1.3", "MaxProtocol = TLSv1.2").
    explicit Vsftpd(bool tls, const QString& protocol = QString());
    ~Vsftpd() { stop(process_); }
    Vsftpd(const Vsftpd&) = delete;
    Vsftpd& operator=(const Vsftpd&) = delete;

    // Empty when the server listens; else why not.
    const QString& failure() const { return failure_; }
    quint16 port() const { return port_; }
    QString root() const { return work_.filePath(QStringLiteral("root")); }
    QString certificate() const { return work_.filePath(QStringLiteral("cert.pem")); }
    // Every command the server received, in its own log's words.
    QByteArray protocolLog() const
    {
        return readFile(work_.filePath(QStringLiteral("protocol.log")));
    }

private:
    QTemporaryDir work_;
    QProcess process_;
    quint16 port_ = 0;
    QString failure_;
};

} // namespace tarvexio::test
