#include "TlsChannel.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

namespace medrec::tp::tls {

namespace {

constexpr std::size_t kReadChunk = 16 * 1024;

std::string subjectText(X509 *certificate)
{
    if (!certificate)
        return {};
    BIO *bio = BIO_new(BIO_s_mem());
    if (!bio)
        return {};
    // RFC 2253 order and escaping, but UTF-8 left as it is.
    X509_NAME_print_ex(bio, X509_get_subject_name(certificate), 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
    char *data = nullptr;
    const long n = BIO_get_mem_data(bio, &data);
    std::string out(data, static_cast<std::size_t>(n > 0 ? n : 0));
    BIO_free(bio);
    return out;
}

// An IPv4 or IPv6 address rather than a name (OpenSSL's own parser, on every system).
bool isAddress(const std::string &host)
{
    ASN1_OCTET_STRING *address = a2i_IPADDRESS(host.c_str());
    ASN1_OCTET_STRING_free(address);
    return address != nullptr;
}

// What an alert from the peer, or a local failure, means in plain words.
std::string plainReason(const std::string &reason)
{
    static constexpr std::pair<const char *, const char *> kReasons[] = {
        {"peer did not return a certificate", "the workstation sent no certificate"},
        {"tlsv13 alert certificate required",
         "the service host requires a workstation certificate (TLS_CERT and TLS_KEY in the site environment file)"},
        {"sslv3 alert certificate revoked", "the service host refused this workstation's certificate: it is revoked"},
        {"sslv3 alert certificate expired",
         "the service host refused this workstation's certificate: it has expired"},
        {"tlsv1 alert unknown ca",
         "the service host refused this workstation's certificate: it was not issued by the site's CA"},
        {"sslv3 alert bad certificate", "the service host refused this workstation's certificate"},
        {"sslv3 alert certificate unknown", "the service host refused this workstation's certificate"},
        {"wrong version number", "the peer does not speak TLS"},
        {"packet length too long", "the peer does not speak TLS"},
    };
    for (const auto &[openssl, plain] : kReasons)
        if (reason == openssl)
            return plain;
    return reason;
}

} // namespace

TlsChannel::TlsChannel(std::shared_ptr<const TlsContext> context, const std::string &peerName)
    : m_context(std::move(context))
{
    m_ssl = SSL_new(m_context->handle());
    m_in = BIO_new(BIO_s_mem());
    m_out = BIO_new(BIO_s_mem());
    if (!m_ssl || !m_in || !m_out) {
        BIO_free(m_in);
        BIO_free(m_out);
        m_in = m_out = nullptr;
        m_state = State::Failed;
        m_failure = "out of memory";
        return;
    }
    // An empty input buffer reads as "wait for more", not as the end.
    BIO_set_mem_eof_return(m_in, -1);
    SSL_set_bio(m_ssl, m_in, m_out);
    SSL_set_app_data(m_ssl, this);
    SSL_set_verify(m_ssl, SSL_get_verify_mode(m_ssl), &TlsChannel::verify);
    if (m_context->role() == TlsContext::Role::Server) {
        SSL_set_accept_state(m_ssl);
    } else {
        if (isAddress(peerName)) {
            X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_ssl), peerName.c_str());
        } else if (!peerName.empty()) {
            SSL_set1_host(m_ssl, peerName.c_str());
            SSL_set_tlsext_host_name(m_ssl, peerName.c_str());
        }
        SSL_set_connect_state(m_ssl);
    }
}

TlsChannel::~TlsChannel() { SSL_free(m_ssl); }

int TlsChannel::verify(int ok, x509_store_ctx_st *store)
{
    auto *ssl = static_cast<SSL *>(X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
    auto *self = ssl ? static_cast<TlsChannel *>(SSL_get_app_data(ssl)) : nullptr;
    if (!ok && self && self->m_verifyFailure.empty()) {
        self->m_verifyFailure = X509_verify_cert_error_string(X509_STORE_CTX_get_error(store));
        self->m_subject = subjectText(X509_STORE_CTX_get0_cert(store));
    }
    return ok;
}

void TlsChannel::receive(std::string_view cipher)
{
    if (m_in && !cipher.empty())
        BIO_write(m_in, cipher.data(), static_cast<int>(cipher.size()));
}

TlsChannel::State TlsChannel::process(std::string &plain)
{
    ERR_clear_error();
    if (m_state == State::Handshaking) {
        const int r = SSL_do_handshake(m_ssl);
        if (r != 1) {
            const int e = SSL_get_error(m_ssl, r);
            if (e != SSL_ERROR_WANT_READ && e != SSL_ERROR_WANT_WRITE)
                fail(e);
            return m_state;
        }
        m_state = State::Open;
        m_subject = subjectText(SSL_get0_peer_certificate(m_ssl));
    }
    while (m_state == State::Open) {
        // A buffer of its own rather than growing plain by a chunk each time: no bytes
        // cleared for nothing on every read.
        char chunk[kReadChunk];
        const int n = SSL_read(m_ssl, chunk, static_cast<int>(sizeof chunk));
        if (n > 0) {
            plain.append(chunk, static_cast<std::size_t>(n));
            continue;
        }
        const int e = SSL_get_error(m_ssl, n);
        if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE)
            break;
        if (e == SSL_ERROR_ZERO_RETURN)
            m_state = State::Closed;
        else
            fail(e);
    }
    return m_state;
}

bool TlsChannel::send(std::string_view plain)
{
    if (m_state != State::Open)
        return false;
    ERR_clear_error();
    std::size_t written = 0;
    while (written < plain.size()) {
        std::size_t n = 0;
        if (SSL_write_ex(m_ssl, plain.data() + written, plain.size() - written, &n) != 1) {
            fail(SSL_get_error(m_ssl, 0));
            return false;
        }
        written += n;
    }
    return true;
}

std::string TlsChannel::takeOutput()
{
    std::string out;
    if (!m_out)
        return out;
    const std::size_t pending = BIO_ctrl_pending(m_out);
    out.resize(pending);
    const int n = pending ? BIO_read(m_out, out.data(), static_cast<int>(pending)) : 0;
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

bool TlsChannel::hasOutput() const { return m_out && BIO_ctrl_pending(m_out) > 0; }

bool TlsChannel::hasPendingInput() const { return m_ssl && (SSL_has_pending(m_ssl) || BIO_ctrl_pending(m_in) > 0); }

bool TlsChannel::peerStillTrusted(const TlsContext &context, std::string *why) const
{
    X509 *peer = m_ssl ? SSL_get0_peer_certificate(m_ssl) : nullptr;
    if (!peer) {
        *why = "no certificate";
        return false;
    }
    X509_STORE_CTX *check = X509_STORE_CTX_new();
    // The store carries the context's flags, the revocation check among them.
    bool trusted = check && X509_STORE_CTX_init(check, SSL_CTX_get_cert_store(context.handle()), peer,
                                                SSL_get_peer_cert_chain(m_ssl)) == 1;
    if (trusted) {
        X509_STORE_CTX_set_purpose(check, m_context->role() == TlsContext::Role::Server ? X509_PURPOSE_SSL_CLIENT
                                                                                        : X509_PURPOSE_SSL_SERVER);
        trusted = X509_verify_cert(check) == 1;
        if (!trusted)
            *why = X509_verify_cert_error_string(X509_STORE_CTX_get_error(check));
    } else {
        *why = takeOpenSslError("cannot check the certificate");
    }
    X509_STORE_CTX_free(check);
    ERR_clear_error();
    return trusted;
}

void TlsChannel::fail(int sslError)
{
    m_state = State::Failed;
    const std::string queued = takeOpenSslError({});
    if (!m_verifyFailure.empty())
        m_failure = m_verifyFailure;
    else if (!queued.empty())
        m_failure = plainReason(queued);
    else if (sslError == SSL_ERROR_SYSCALL || sslError == SSL_ERROR_SSL)
        m_failure = "the TLS connection broke off";
    else
        m_failure = "TLS failed (error " + std::to_string(sslError) + ")";
}

} // namespace medrec::tp::tls
