#pragma once

#include <curl/curl.h>

#include <memory>

namespace tarvexio {

// The TLS sessions of one FTP job's control connection, handed to its data connections.
//
// Servers that require session reuse (vsftpd's default, and others) refuse a data connection
// that does not resume a session of the job. Under TLS 1.3 every ticket serves one
// resumption on the client's side, and the new ticket the server sends on a data connection
// is read only if the client reads there: an upload reads nothing, so libcurl's own cache was
// left holding a spent ticket, and the listing after an upload made a new session and was
// refused. Here every ticket the job receives is kept; each data connection gets a copy of
// one not used yet, else of the newest (a server that issues stateless tickets takes a ticket
// more than once).
class TlsSessionReuse {
public:
    TlsSessionReuse();
    ~TlsSessionReuse();
    TlsSessionReuse(const TlsSessionReuse&) = delete;
    TlsSessionReuse& operator=(const TlsSessionReuse&) = delete;

    // Takes over the sessions of the handle's next connections (options are reset before
    // every operation). Where libcurl's TLS is not OpenSSL, libcurl keeps its own cache.
    void attach(CURL* curl);
    // The control connection has closed: its sessions are of no use to another.
    void forget();

private:
    struct Pool;
    std::unique_ptr<Pool> pool_;
};

} // namespace tarvexio
