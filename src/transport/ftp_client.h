#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

namespace tarvexio {

// Every failure of an FTP operation. The text never holds the password.
class EFtpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct FtpLogin {
    QString host;
    quint16 port = 0;
    QString user;
    QString password;
    bool passive = true;
    // Explicit TLS (AUTH TLS, PROT P) on the control and data connections, or no connection.
    bool tls = false;

    // The server as the settings name it: "host", or "ftps://host" for TLS ("ftp://" and a
    // trailing "/" are allowed too).
    void setServer(const QString& server);
};

// The operations one FTP job uses, on one control connection. Each raises EFtpError on failure.
class FtpClient {
public:
    // Called during a transfer with the bytes moved so far; an exception thrown from it ends
    // the transfer and leaves the operation with that exception.
    using WorkHandler = std::function<void(qint64 count)>;

    virtual ~FtpClient() = default;

    virtual void Connect(const FtpLogin& login) = 0; // connect and log in
    virtual void ChangeDir(const QString& folder) = 0;
    virtual void setTransferTypeBinary() = 0;
    virtual void Put(const QString& localPath, const QString& remoteName,
                     const WorkHandler& work) = 0;
    virtual void Rename(const QString& from, const QString& to) = 0;
    virtual QStringList List() = 0;               // names in the current folder
    virtual qint64 Size(const QString& name) = 0; // -1 when the server gives none
    virtual void Get(const QString& name, const QString& localPath, const WorkHandler& work) = 0;
    virtual void Delete(const QString& name) = 0;
    virtual void Disconnect() = 0; // QUIT and close; never raises, quiet when not connected
    // The control connection stands (libcurl ends it with a data connection that failed).
    virtual bool isConnected() const = 0;
};

} // namespace tarvexio
