#include "transport/curl_session.h"

#include "platform/socket_ops.h"
#include "platform/stop_request.h"
#include "platform/windows1250.h"
#include "transport/ftp_replies.h"

#include <chrono>
#include <mutex>

namespace tarvexio {

namespace {

// How long a data connection may take to end in order.
constexpr std::chrono::milliseconds DataCloseWait{2000};

struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

// Names, folders and the login go out in Windows-1250, as the servers of the service read them.
Slist commandList(const QStringList& commands)
{
    curl_slist* list = nullptr;
    for (const QString& command : commands)
        list = curl_slist_append(list, toWindows1250(command).constData());
    return Slist(list);
}

QString replyText(const QByteArray& reply)
{
    return fromWindows1250(reply);
}

} // namespace

CurlSession::CurlSession(FtpTimeouts t)
    : timeouts(t)
{
    static std::once_flag global;
    std::call_once(global, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    curl.reset(curl_easy_init());
}

CurlSession::~CurlSession()
{
    closeConnection();
}

void CurlSession::closeConnection()
{
    // QUIT waits for the server's reply, and nothing can cut that wait short: a process
    // that is ending leaves without it.
    if (curl != nullptr && stopRequested())
        shutDownSocket();
    curl.reset();
    tlsSessions.forget();
    connected = false;
    loggedIn = false;
    transferType = 0;
}

// Once the job has logged in, libcurl may not open another control connection behind
// its back (it would log in again, in the login folder): data connections go to other
// ports, a new control connection to the server's own.
// (CURLINFO_NUM_CONNECTS cannot tell: it counts the data connections too.)
curl_socket_t CurlSession::openSocket(void* self, curlsocktype purpose, curl_sockaddr* address)
{
    auto* d = static_cast<CurlSession*>(self);
    if (purpose == CURLSOCKTYPE_IPCXN && d->loggedIn &&
        portOf(reinterpret_cast<const sockaddr*>(&address->addr)) == d->login.port) {
        d->reconnectRefused = true;
        return CURL_SOCKET_BAD;
    }
    return ::socket(address->family, address->socktype, address->protocol);
}

// Data connections end in order (endInOrder); the control connection, to the server's own
// port, and any socket of a process that is ending close at once.
int CurlSession::closeSocket(void* self, curl_socket_t socket)
{
    auto* d = static_cast<CurlSession*>(self);
    // A TLS 1.3 server sends its session tickets after the handshake, and an upload reads
    // nothing: tickets that arrive after close() would make the kernel answer with a reset
    // and drop what it had not yet sent of the upload (vsftpd answered 426).
    const quint16 peerPort = peerPortOf(NativeSocket(socket));
    if (!stopRequested() && peerPort != 0 && peerPort != d->login.port)
        endInOrder(NativeSocket(socket), DataCloseWait);
    return closeNow(NativeSocket(socket));
}

// libcurl calls this about once a second also while it waits for a reply, which is where
// a stopping process is noticed.
int CurlSession::progress(void* self, curl_off_t, curl_off_t downloaded, curl_off_t,
                          curl_off_t uploaded)
{
    auto* d = static_cast<CurlSession*>(self);
    if (stopRequested()) {
        d->stopped = true;
        return 1;
    }
    if (d->work == nullptr || *d->work == nullptr)
        return 0;
    try {
        (*d->work)(qint64(uploaded > 0 ? uploaded : downloaded));
    } catch (...) {
        d->workError = std::current_exception();
        return 1; // ends the transfer
    }
    return 0;
}

// Options every operation shares; path is relative to the login folder's URL.
void CurlSession::prepare(const QString& path)
{
    if (curl == nullptr)
        curl.reset(curl_easy_init());
    curl_easy_reset(curl); // options only: the control connection stays
    const QByteArray url = baseUrl.toLatin1() + toWindows1250(path).toPercentEncoding();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_USERNAME, toWindows1250(login.user).constData());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, toWindows1250(login.password).constData());
    curl_easy_setopt(curl, CURLOPT_PROXY, ""); // never one, whatever the environment says
    if (login.tls) {
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
        // Every TLS server knows AUTH TLS; some answer AUTH SSL, libcurl's first try, with 500.
        curl_easy_setopt(curl, CURLOPT_FTPSSLAUTH, long(CURLFTPAUTH_TLS));
        // TLS 1.2 at least; 1.3 where the server has it (see closeSocket).
        curl_easy_setopt(curl, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
        // The system's certificates, or a private authority's named for the agent.
        if (const QByteArray authority = qgetenv("TARVEXIO_CA_FILE"); !authority.isEmpty())
            curl_easy_setopt(curl, CURLOPT_CAINFO, authority.constData());
        tlsSessions.attach(curl);
    }
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &CurlSession::openSocket);
    curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, this);
    // A connection keeps the callback it was made with: the control connection's, set at
    // login, closes the data connections too.
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &CurlSession::closeSocket);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, this);
    curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
    if (!login.passive)
        curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(timeouts.connect.count()));
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(timeouts.response.count()));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, long(timeouts.stalled.count()));
    curl_easy_setopt(curl, CURLOPT_IGNORE_CONTENT_LENGTH, 1L); // no SIZE of its own before RETR
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    replies.clear();
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &CurlSession::appendTo);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &replies);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &CurlSession::progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    errorText[0] = '\0';
}

void CurlSession::perform(const char* operation, const WorkHandler* handler)
{
    work = handler;
    workError = nullptr;
    stopped = false;
    performing = true;
    const CURLcode result = curl_easy_perform(curl);
    performing = false;
    work = nullptr;
    if (disconnectAfterPerform) {
        disconnectAfterPerform = false;
        closeConnection();
    }
    if (workError) {
        noteWhetherConnected();
        std::rethrow_exception(std::exchange(workError, nullptr));
    }
    // libcurl found the control connection gone and was refused a new one.
    if (std::exchange(reconnectRefused, false)) {
        connected = false;
        throw EFtpError(QStringLiteral("FTP %1: połączenie zostało zerwane")
                            .arg(QLatin1StringView(operation))
                            .toStdString());
    }
    if (result != CURLE_OK) {
        const QString reason =
            stopped ? QStringLiteral("przerwano, program kończy pracę") : failureText(result);
        noteWhetherConnected();
        throw EFtpError(
            QStringLiteral("FTP %1: %2").arg(QLatin1StringView(operation), reason).toStdString());
    }
}

// The server's own refusal says most ("421 Too many connections"); libcurl's text only
// where the server said nothing of the kind.
QString CurlSession::failureText(CURLcode result) const
{
    const QList<QByteArray> finals = finalReplyLines(replies);
    if (!finals.isEmpty() && (finals.back().startsWith('4') || finals.back().startsWith('5')))
        return replyText(finals.back());
    return QString::fromUtf8(errorText[0] != '\0' ? errorText : curl_easy_strerror(result));
}

// Plain commands go out as quote commands marked "*", so that a refusal does not make
// libcurl drop the connection; their replies are checked here instead.
QList<QByteArray> CurlSession::quote(const char* operation, const QStringList& commands)
{
    requireConnection(operation);
    prepare(QString());
    QStringList marked;
    for (const QString& command : commands)
        marked << u'*' + command;
    const Slist list = commandList(marked);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_QUOTE, list.get());
    perform(operation);
    // One reply per command, or something else took part in the exchange.
    QList<QByteArray> finals = finalReplyLines(replies);
    if (finals.size() != commands.size())
        throw EFtpError(QStringLiteral("FTP %1: odpowiedzi serwera nie pasują do poleceń")
                            .arg(QLatin1StringView(operation))
                            .toStdString());
    return finals;
}

// Raises when any reply of a quote is not 2xx or 3xx.
void CurlSession::quoteChecked(const char* operation, const QStringList& commands)
{
    const QList<QByteArray> replies = quote(operation, commands);
    for (int i = 0; i < commands.size(); ++i) {
        const QByteArray reply = replies.value(i);
        if (!reply.startsWith('2') && !reply.startsWith('3'))
            throw EFtpError(QStringLiteral("FTP %1: %2")
                                .arg(commands[i].section(u' ', 0, 0), replyText(reply))
                                .toStdString());
    }
}

// A connection that is gone stays gone: libcurl would log in again behind the job's back,
// in the login folder.
void CurlSession::requireConnection(const char* operation) const
{
    if (!connected)
        throw EFtpError(QStringLiteral("FTP %1: brak połączenia")
                            .arg(QLatin1StringView(operation))
                            .toStdString());
}

void CurlSession::shutDownSocket()
{
    curl_socket_t socket = CURL_SOCKET_BAD;
    if (curl_easy_getinfo(curl, CURLINFO_ACTIVESOCKET, &socket) == CURLE_OK &&
        socket != CURL_SOCKET_BAD)
        shutDownNow(NativeSocket(socket));
}

void CurlSession::noteWhetherConnected()
{
    curl_socket_t socket = CURL_SOCKET_BAD;
    if (curl == nullptr || curl_easy_getinfo(curl, CURLINFO_ACTIVESOCKET, &socket) != CURLE_OK ||
        socket == CURL_SOCKET_BAD)
        connected = false;
}

size_t CurlSession::appendTo(char* data, size_t size, size_t count, void* target)
{
    const size_t bytes = size * count;
    static_cast<QByteArray*>(target)->append(data, qsizetype(bytes));
    return bytes;
}

} // namespace tarvexio
