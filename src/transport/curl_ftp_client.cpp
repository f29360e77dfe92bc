#include "transport/curl_ftp_client.h"

#include "platform/windows1250.h"
#include "transport/curl_session.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <curl/curl.h>

namespace tarvexio {

CurlFtpClient::CurlFtpClient(FtpTimeouts timeouts)
    : d_(std::make_unique<CurlSession>(timeouts))
{}

CurlFtpClient::~CurlFtpClient() = default;

void CurlFtpClient::Connect(const FtpLogin& login)
{
    d_->closeConnection();
    d_->login = login;
    QUrl url;
    url.setScheme(QStringLiteral("ftp"));
    url.setHost(login.host);
    url.setPort(login.port);
    url.setPath(QStringLiteral("/"));
    d_->baseUrl = url.toString(QUrl::FullyEncoded);
    d_->prepare(QString());
    curl_easy_setopt(d_->curl, CURLOPT_NOBODY, 1L);
    d_->perform("login");
    d_->connected = true;
    d_->loggedIn = true;
}

void CurlFtpClient::ChangeDir(const QString& folder)
{
    d_->quoteChecked("CWD", {QStringLiteral("CWD ") + folder});
}

void CurlFtpClient::setTransferTypeBinary()
{
    // libcurl sends TYPE I itself before a transfer when it believes the type is another;
    // when it believes it is already I, the command has to come from here.
    if (d_->transferType == 'I')
        d_->quoteChecked("TYPE", {QStringLiteral("TYPE I")});
}

void CurlFtpClient::Put(const QString& localPath, const QString& remoteName,
                        const WorkHandler& work)
{
    d_->requireConnection("STOR");
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        throw EFtpError(
            QStringLiteral("FTP STOR: nie można odczytać %1").arg(localPath).toStdString());
    d_->prepare(remoteName);
    curl_easy_setopt(d_->curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(d_->curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(file.size()));
    curl_easy_setopt(d_->curl, CURLOPT_READDATA, &file);
    curl_easy_setopt(
        d_->curl, CURLOPT_READFUNCTION,
        +[](char* buffer, size_t size, size_t count, void* source) -> size_t {
            const qint64 read = static_cast<QFile*>(source)->read(buffer, qint64(size * count));
            return read < 0 ? CURL_READFUNC_ABORT : size_t(read);
        });
    d_->transferType = 'I';
    d_->perform("STOR", &work);
}

void CurlFtpClient::Rename(const QString& from, const QString& to)
{
    d_->quoteChecked("RNFR/RNTO", {QStringLiteral("RNFR ") + from, QStringLiteral("RNTO ") + to});
}

QStringList CurlFtpClient::List()
{
    d_->requireConnection("NLST");
    QByteArray listing;
    d_->prepare(QString());
    curl_easy_setopt(d_->curl, CURLOPT_DIRLISTONLY, 1L);
    curl_easy_setopt(d_->curl, CURLOPT_WRITEFUNCTION, &CurlSession::appendTo);
    curl_easy_setopt(d_->curl, CURLOPT_WRITEDATA, &listing);
    d_->transferType = 'A';
    d_->perform("NLST");
    QStringList names;
    for (const QByteArray& line : listing.split('\n')) {
        const QByteArray name = line.endsWith('\r') ? line.chopped(1) : line;
        if (!name.isEmpty())
            names << fromWindows1250(name);
    }
    return names;
}

qint64 CurlFtpClient::Size(const QString& name)
{
    // A server that answers no size leaves it unknown; that is no error.
    const QByteArray reply = d_->quote("SIZE", {QStringLiteral("SIZE ") + name}).value(0);
    bool ok = false;
    const qint64 size = reply.startsWith("213 ") ? reply.mid(4).trimmed().toLongLong(&ok) : -1;
    return ok ? size : -1;
}

void CurlFtpClient::Get(const QString& name, const QString& localPath, const WorkHandler& work)
{
    // A complete copy replaces an older file of that name only once the transfer has ended.
    d_->requireConnection("RETR");
    QSaveFile file(localPath);
    if (!file.open(QIODevice::WriteOnly))
        throw EFtpError(
            QStringLiteral("FTP RETR: nie można zapisać %1").arg(localPath).toStdString());
    d_->prepare(name);
    curl_easy_setopt(d_->curl, CURLOPT_WRITEDATA, &file);
    curl_easy_setopt(
        d_->curl, CURLOPT_WRITEFUNCTION,
        +[](char* data, size_t size, size_t count, void* target) -> size_t {
            return size_t(static_cast<QSaveFile*>(target)->write(data, qint64(size * count)));
        });
    d_->transferType = 'I';
    d_->perform("RETR", &work);
    if (!file.commit())
        throw EFtpError(
            QStringLiteral("FTP RETR: nie można zapisać %1").arg(localPath).toStdString());
}

void CurlFtpClient::Delete(const QString& name)
{
    d_->quoteChecked("DELE", {QStringLiteral("DELE ") + name});
}

void CurlFtpClient::Disconnect()
{
    // From inside a transfer's progress report, the connection goes once the transfer returns.
    if (d_->performing)
        d_->disconnectAfterPerform = true;
    else
        d_->closeConnection();
}

bool CurlFtpClient::isConnected() const
{
    return d_->connected;
}

} // namespace tarvexio
