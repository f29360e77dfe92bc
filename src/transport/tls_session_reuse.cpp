#include "transport/tls_session_reuse.h"

#include <openssl/ssl.h>

#include <algorithm>
#include <vector>

namespace tarvexio {

namespace {

// Where a connection's context keeps the pool it reports to.
int poolIndex()
{
    static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
    return index;
}

} // namespace

struct TlsSessionReuse::Pool {
    struct Kept {
        SSL_SESSION* session;
        bool used = false;
    };
    std::vector<Kept> kept; // in the order received

    Pool() = default;
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;
    ~Pool() { clear(); }

    void clear()
    {
        for (const Kept& entry : kept)
            SSL_SESSION_free(entry.session);
        kept.clear();
    }

    static Pool* of(const SSL* ssl)
    {
        return static_cast<Pool*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), poolIndex()));
    }

    // A copy is kept: OpenSSL marks the connection's own session spent once it is resumed,
    // or when the connection ends badly.
    static int onNewSession(SSL* ssl, SSL_SESSION* session)
    {
        if (Pool* pool = of(ssl); pool != nullptr) {
            if (SSL_SESSION* copy = SSL_SESSION_dup(session); copy != nullptr)
                pool->kept.push_back({copy});
        }
        return 0; // the connection's reference stays OpenSSL's
    }

    // Before the first ClientHello of a connection that has no session yet.
    static void onInfo(const SSL* ssl, int where, int)
    {
        if ((where & SSL_CB_HANDSHAKE_START) == 0 || !SSL_in_before(ssl) ||
            SSL_get_session(ssl) != nullptr)
            return;
        if (Pool* pool = of(ssl); pool != nullptr)
            pool->offer(const_cast<SSL*>(ssl)); // NOLINT: OpenSSL's callback type is const
    }

    void offer(SSL* ssl)
    {
        if (kept.empty())
            return; // the control connection's own handshake
        auto chosen =
            std::find_if(kept.rbegin(), kept.rend(), [](const Kept& entry) { return !entry.used; });
        if (chosen == kept.rend())
            chosen = kept.rbegin();
        chosen->used = true;
        if (SSL_SESSION* copy = SSL_SESSION_dup(chosen->session); copy != nullptr) {
            SSL_set_session(ssl, copy);
            SSL_SESSION_free(copy);
        }
    }

    // libcurl calls this for every connection, after it has set up its own callbacks.
    static CURLcode onContext(CURL*, void* context, void* self)
    {
        auto* ctx = static_cast<SSL_CTX*>(context);
        SSL_CTX_set_ex_data(ctx, poolIndex(), self);
        SSL_CTX_sess_set_new_cb(ctx, &Pool::onNewSession);
        SSL_CTX_set_info_callback(ctx, &Pool::onInfo);
        return CURLE_OK;
    }
};

TlsSessionReuse::TlsSessionReuse()
    : pool_(std::make_unique<Pool>())
{}

TlsSessionReuse::~TlsSessionReuse() = default;

void TlsSessionReuse::attach(CURL* curl)
{
    if (curl_easy_setopt(curl, CURLOPT_SSL_CTX_FUNCTION, &Pool::onContext) != CURLE_OK)
        return;
    curl_easy_setopt(curl, CURLOPT_SSL_CTX_DATA, pool_.get());
    curl_easy_setopt(curl, CURLOPT_SSL_SESSIONID_CACHE, 0L);
}

void TlsSessionReuse::forget()
{
    pool_->clear();
}

} // namespace tarvexio
