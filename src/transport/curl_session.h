#pragma once

#include "transport/curl_ftp_client.h"
#include "transport/tls_session_reuse.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <curl/curl.h>

#include <exception>
#include <memory>

namespace tarvexio {

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

// One FTP job's libcurl easy handle as its one control connection: the options every operation
// shares, a transfer performed with its failure told in the server's words, plain commands
// sent as quote commands.
struct CurlSession {
    using WorkHandler = FtpClient::WorkHandler;

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

    explicit CurlSession(FtpTimeouts t);

    ~CurlSession();

    // A libcurl write or header callback that appends to a QByteArray.
    static size_t appendTo(char* data, size_t size, size_t count, void* target);

    void closeConnection();

    // Once the job has logged in, libcurl may not open another control connection behind
    // its back (it would log in again, in the login folder): data connections go to other
    // ports, a new control connection to the server's own.
    // (CURLINFO_NUM_CONNECTS cannot tell: it counts the data connections too.)
    static curl_socket_t openSocket(void* self, curlsocktype purpose, curl_sockaddr* address);

    // Data connections end in order (endInOrder); the control connection, to the server's own
    // port, and any socket of a process that is ending close at once.
    static int closeSocket(void* self, curl_socket_t socket);

    // libcurl calls this about once a second also while it waits for a reply, which is where
    // a stopping process is noticed.
    static int progress(void* self, curl_off_t, curl_off_t downloaded, curl_off_t,
                        curl_off_t uploaded);

    // Options every operation shares; path is relative to the login folder's URL.
    void prepare(const QString& path);

    void perform(const char* operation, const WorkHandler* handler = nullptr);

    // The server's own refusal says most ("421 Too many connections"); libcurl's text only
    // where the server said nothing of the kind.
    QString failureText(CURLcode result) const;

    // Plain commands go out as quote commands marked "*", so that a refusal does not make
    // libcurl drop the connection; their replies are checked here instead.
    QList<QByteArray> quote(const char* operation, const QStringList& commands);

    // Raises when any reply of a quote is not 2xx or 3xx.
    void quoteChecked(const char* operation, const QStringList& commands);

    // A connection that is gone stays gone: libcurl would log in again behind the job's back,
    // in the login folder.
    void requireConnection(const char* operation) const;

    void shutDownSocket();

    void noteWhetherConnected();
};

} // namespace tarvexio
