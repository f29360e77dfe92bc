#pragma once

#include "transport/ftp_client.h"

#include <chrono>
#include <memory>

namespace tarvexio {

// How long a dead or stalled server may keep a job waiting. An unattended job blocks the
// agent's only thread, so none may wait for ever; the limits are generous enough for a slow
// modem link and a busy server, and a job that fails is retried later anyway.
struct FtpTimeouts {
    // TCP connect plus the server's greeting and login.
    std::chrono::seconds connect{30};
    // Any one reply of the server to a command.
    std::chrono::seconds response{60};
    // A transfer that moves less than one byte per second for this long is given up.
    std::chrono::seconds stalled{60};
};

// FtpClient on libcurl: one easy handle, so one control connection for the whole job.
// libcurl is told never to change directories itself; ChangeDir and the plain commands go
// out as quote commands, so the wire carries the job's own sequence plus what libcurl needs
// for data connections (PWD after login, EPSV/PASV, TYPE A before a listing).
class CurlFtpClient final : public FtpClient {
public:
    explicit CurlFtpClient(FtpTimeouts timeouts = {});
    ~CurlFtpClient() override;
    CurlFtpClient(const CurlFtpClient&) = delete;
    CurlFtpClient& operator=(const CurlFtpClient&) = delete;

    void Connect(const FtpLogin& login) override;
    void ChangeDir(const QString& folder) override;
    void setTransferTypeBinary() override;
    void Put(const QString& localPath, const QString& remoteName, const WorkHandler& work) override;
    void Rename(const QString& from, const QString& to) override;
    QStringList List() override;
    qint64 Size(const QString& name) override;
    void Get(const QString& name, const QString& localPath, const WorkHandler& work) override;
    void Delete(const QString& name) override;
    void Disconnect() override;
    bool isConnected() const override;

private:
    std::unique_ptr<struct CurlSession> d_;
};

} // namespace tarvexio
