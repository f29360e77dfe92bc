#include "transport/curl_ftp_client.h"

#include "platform/socket_ops.h"
#include "platform/stop_request.h"
#include "platform/windows1250.h"
#include "transport/ftp_replies.h"
#include "transport/tls_session_reuse.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

#include <curl/curl.h>

#include <chrono>
#include <exception>
#include <mutex>

namespace tarvexio {

namespace {

// How long a data connection may take to end in order.
constexpr std::chrono::milliseconds DataCloseWait{2000};

// The job's one easy handle: cleaned up when it goes, which sends QUIT on a live control
// connection.
class EasyHandle {
public:
    operator CURL*() const { return handle_.get(); } // NOLINT: stands for the handle it holds
    void reset(CURL* handle = nullptr) { handle_.reset(handle); }

private:
    struct Cleanup {
        void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    };
    std::unique_ptr<CURL, Cleanup> handle_;
};

struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

// Names, folders and the login go out in Windows-1250, as the servers of the service read them.
Slist Commands(const QStringList& commands)
{
    curl_slist* list = nullptr;
    for (const QString& command : commands)
        list = curl_slist_append(list, ToWindows1250(command).constData());
    return Slist(list);
}

QString ReplyText(const QByteArray& reply)
{
    return FromWindows1250(reply);
}

size_t AppendTo(char* data, size_t size, size_t count, void* target)
{
    const size_t bytes = size * count;
    static_cast<QByteArray*>(target)->append(data, qsizetype(bytes));
    return bytes;
}

} // namespace

struct CurlFtpClient::Impl {
    FtpTimeouts timeouts;
    EasyHandle curl;
    FtpLogin login;
    QString baseUrl;
    bool connected = false;
    bool loggedIn = false; // this job's control connection has been made once
    bool reconnectRefused = false;
    char transferType = 0; // what libcurl believes the server's type to be
    bool performing = false;
    bool disconnectAfterPerform = false;
    bool stopped = false; // the process is ending
    char errorText[CURL_ERROR_SIZE] = {};
    QByteArray replies; // what the server answered during the operation
    const WorkHandler* work = nullptr;
    std::exception_ptr workError;
    TlsSessionReuse tlsSessions;

    explicit Impl(FtpTimeouts t)
        : timeouts(t)
    {
        static std::once_flag global;
        std::call_once(global, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
        curl.reset(curl_easy_init());
    }

    ~Impl() { closeConnection(); }

    void closeConnection()
    {
        // QUIT waits for the server's reply, and nothing can cut that wait short: a process
        // that is ending leaves without it.
        if (curl != nullptr && StopRequested())
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
    static curl_socket_t OpenSocket(void* self, curlsocktype purpose, curl_sockaddr* address)
    {
        auto* d = static_cast<Impl*>(self);
        if (purpose == CURLSOCKTYPE_IPCXN && d->loggedIn &&
            PortOf(reinterpret_cast<const sockaddr*>(&address->addr)) == d->login.port) {
            d->reconnectRefused = true;
            return CURL_SOCKET_BAD;
        }
        return ::socket(address->family, address->socktype, address->protocol);
    }

    // Data connections end in order (EndInOrder); the control connection, to the server's own
    // port, and any socket of a process that is ending close at once.
    static int CloseSocket(void* self, curl_socket_t socket)
    {
        auto* d = static_cast<Impl*>(self);
        // A TLS 1.3 server sends its session tickets after the handshake, and an upload reads
        // nothing: tickets that arrive after close() would make the kernel answer with a reset
        // and drop what it had not yet sent of the upload (vsftpd answered 426).
        const quint16 peerPort = PeerPortOf(NativeSocket(socket));
        if (!StopRequested() && peerPort != 0 && peerPort != d->login.port)
            EndInOrder(NativeSocket(socket), DataCloseWait);
        return CloseNow(NativeSocket(socket));
    }

    // libcurl calls this about once a second also while it waits for a reply, which is where
    // a stopping process is noticed.
    static int Progress(void* self, curl_off_t, curl_off_t downloaded, curl_off_t,
                        curl_off_t uploaded)
    {
        auto* d = static_cast<Impl*>(self);
        if (StopRequested()) {
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
    void prepare(const QString& path)
    {
        if (curl == nullptr)
            curl.reset(curl_easy_init());
        curl_easy_reset(curl); // options only: the control connection stays
        const QByteArray url = baseUrl.toLatin1() + ToWindows1250(path).toPercentEncoding();
        curl_easy_setopt(curl, CURLOPT_URL, url.constData());
        curl_easy_setopt(curl, CURLOPT_USERNAME, ToWindows1250(login.user).constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, ToWindows1250(login.password).constData());
        curl_easy_setopt(curl, CURLOPT_PROXY, ""); // never one, whatever the environment says
        if (login.tls) {
            curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
            // Every TLS server knows AUTH TLS; some answer AUTH SSL, libcurl's first try, with 500.
            curl_easy_setopt(curl, CURLOPT_FTPSSLAUTH, long(CURLFTPAUTH_TLS));
            // TLS 1.2 at least; 1.3 where the server has it (see EndInOrder).
            curl_easy_setopt(curl, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
            // The system's certificates, or a private authority's named for the agent.
            if (const QByteArray authority = qgetenv("TARVEXIO_CA_FILE"); !authority.isEmpty())
                curl_easy_setopt(curl, CURLOPT_CAINFO, authority.constData());
            tlsSessions.attach(curl);
        }
        curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &Impl::OpenSocket);
        curl_easy_setopt(curl, CURLOPT_OPENSOCKETDATA, this);
        // A connection keeps the callback it was made with: the control connection's, set at
        // login, closes the data connections too.
        curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &Impl::CloseSocket);
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
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &AppendTo);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, &replies);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Impl::Progress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        errorText[0] = '\0';
    }

    void perform(const char* operation, const WorkHandler* handler = nullptr)
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
            throw EFtpError(QStringLiteral("FTP %1: %2")
                                .arg(QLatin1StringView(operation), reason)
                                .toStdString());
        }
    }

    // The server's own refusal says most ("421 Too many connections"); libcurl's text only
    // where the server said nothing of the kind.
    QString failureText(CURLcode result) const
    {
        const QList<QByteArray> finals = FinalReplyLines(replies);
        if (!finals.isEmpty() && (finals.back().startsWith('4') || finals.back().startsWith('5')))
            return ReplyText(finals.back());
        return QString::fromUtf8(errorText[0] != '\0' ? errorText : curl_easy_strerror(result));
    }

    // Plain commands go out as quote commands marked "*", so that a refusal does not make
    // libcurl drop the connection; their replies are checked here instead.
    QList<QByteArray> quote(const char* operation, const QStringList& commands)
    {
        requireConnection(operation);
        prepare(QString());
        QStringList marked;
        for (const QString& command : commands)
            marked << u'*' + command;
        const Slist list = Commands(marked);
        curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(curl, CURLOPT_QUOTE, list.get());
        perform(operation);
        // One reply per command, or something else took part in the exchange.
        QList<QByteArray> finals = FinalReplyLines(replies);
        if (finals.size() != commands.size())
            throw EFtpError(QStringLiteral("FTP %1: odpowiedzi serwera nie pasują do poleceń")
                                .arg(QLatin1StringView(operation))
                                .toStdString());
        return finals;
    }

    // Raises when any reply of a quote is not 2xx or 3xx.
    void quoteChecked(const char* operation, const QStringList& commands)
    {
        const QList<QByteArray> replies = quote(operation, commands);
        for (int i = 0; i < commands.size(); ++i) {
            const QByteArray reply = replies.value(i);
            if (!reply.startsWith('2') && !reply.startsWith('3'))
                throw EFtpError(QStringLiteral("FTP %1: %2")
                                    .arg(commands[i].section(u' ', 0, 0), ReplyText(reply))
                                    .toStdString());
        }
    }

    // A connection that is gone stays gone: libcurl would log in again behind the job's back,
    // in the login folder.
    void requireConnection(const char* operation) const
    {
        if (!connected)
            throw EFtpError(QStringLiteral("FTP %1: brak połączenia")
                                .arg(QLatin1StringView(operation))
                                .toStdString());
    }

    void shutDownSocket()
    {
        curl_socket_t socket = CURL_SOCKET_BAD;
        if (curl_easy_getinfo(curl, CURLINFO_ACTIVESOCKET, &socket) == CURLE_OK &&
            socket != CURL_SOCKET_BAD)
            ShutDownNow(NativeSocket(socket));
    }

    void noteWhetherConnected()
    {
        curl_socket_t socket = CURL_SOCKET_BAD;
        if (curl == nullptr ||
            curl_easy_getinfo(curl, CURLINFO_ACTIVESOCKET, &socket) != CURLE_OK ||
            socket == CURL_SOCKET_BAD)
            connected = false;
    }
};

CurlFtpClient::CurlFtpClient(FtpTimeouts timeouts)
    : d_(std::make_unique<Impl>(timeouts))
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

void CurlFtpClient::SetTransferTypeBinary()
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
    curl_easy_setopt(d_->curl, CURLOPT_WRITEFUNCTION, &AppendTo);
    curl_easy_setopt(d_->curl, CURLOPT_WRITEDATA, &listing);
    d_->transferType = 'A';
    d_->perform("NLST");
    QStringList names;
    for (const QByteArray& line : listing.split('\n')) {
        const QByteArray name = line.endsWith('\r') ? line.chopped(1) : line;
        if (!name.isEmpty())
            names << FromWindows1250(name);
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

bool CurlFtpClient::IsConnected() const
{
    return d_->connected;
}

} // namespace tarvexio
