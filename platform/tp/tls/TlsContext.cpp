#include "TlsContext.h"

#include "system/Environment.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

#include <filesystem>

namespace medrec::tp::tls {

namespace {

struct CtxFree
{
    void operator()(SSL_CTX *ctx) const { SSL_CTX_free(ctx); }
};
struct BioFree
{
    void operator()(BIO *bio) const { BIO_free(bio); }
};
struct CrlFree
{
    void operator()(X509_CRL *crl) const { X509_CRL_free(crl); }
};

std::string stamp(const TlsFiles &files)
{
    std::string out;
    for (const std::string *path : {&files.ca, &files.certificate, &files.key, &files.revocationList}) {
        if (!path->empty()) {
            const std::filesystem::path file = platform::pathFromUtf8(*path);
            std::error_code ec;
            const auto written = std::filesystem::last_write_time(file, ec);
            const auto size = ec ? 0 : std::filesystem::file_size(file, ec);
            if (!ec)
                out += std::to_string(written.time_since_epoch().count()) + "/" + std::to_string(size);
        }
        out += ';';
    }
    return out;
}

bool readable(const std::string &path, const char *what, std::string *error)
{
    std::error_code ec;
    if (std::filesystem::is_regular_file(platform::pathFromUtf8(path), ec))
        return true;
    *error = std::string(what) + " " + path + " cannot be read";
    return false;
}

// Every revocation list in the PEM file goes into the store, and the store then checks
// each peer certificate against its issuer's list (a certificate whose CA has no list
// there is refused: a site that names a list means to revoke).
bool loadRevocationList(SSL_CTX *ctx, const std::string &path, std::string *error)
{
    std::unique_ptr<BIO, BioFree> bio(BIO_new_file(path.c_str(), "r"));
    if (!bio) {
        *error = "revocation list " + path + " cannot be read";
        return false;
    }
    X509_STORE *store = SSL_CTX_get_cert_store(ctx);
    int count = 0;
    while (std::unique_ptr<X509_CRL, CrlFree> crl{PEM_read_bio_X509_CRL(bio.get(), nullptr, nullptr, nullptr)}) {
        if (X509_STORE_add_crl(store, crl.get()) != 1) {
            *error = "revocation list " + path + ": " + takeOpenSslError("cannot be used");
            return false;
        }
        ++count;
    }
    ERR_clear_error(); // the end of the file reads as an error
    if (count == 0) {
        *error = "revocation list " + path + " holds no PEM revocation list";
        return false;
    }
    X509_STORE_set_flags(store, X509_V_FLAG_CRL_CHECK);
    return true;
}

} // namespace

std::string takeOpenSslError(const std::string &fallback)
{
    unsigned long code = 0;
    unsigned long last = 0;
    while ((code = ERR_get_error()) != 0)
        last = code;
    if (last == 0)
        return fallback;
    const char *reason = ERR_reason_error_string(last);
    return reason ? reason : fallback;
}

std::shared_ptr<const TlsContext> TlsContext::load(Role role, const TlsFiles &files, std::string *error)
{
    std::string ignored;
    if (!error)
        error = &ignored;
    ERR_clear_error();
    if (files.ca.empty()) {
        *error = role == Role::Server ? "TLS needs the site's CA certificate (--tls-ca)"
                                      : "TLS needs the site's CA certificate (TLS_CA)";
        return nullptr;
    }
    if (role == Role::Server && (files.certificate.empty() || files.key.empty())) {
        *error = "TLS needs the service host's certificate and key (--tls-cert, --tls-key)";
        return nullptr;
    }
    if (files.certificate.empty() != files.key.empty()) {
        *error = "a certificate needs its key and a key its certificate (TLS_CERT and TLS_KEY)";
        return nullptr;
    }
    std::unique_ptr<SSL_CTX, CtxFree> ctx(SSL_CTX_new(role == Role::Server ? TLS_server_method() : TLS_client_method()));
    if (!ctx) {
        *error = "TLS cannot start: " + takeOpenSslError("out of memory");
        return nullptr;
    }
    SSL_CTX_set_min_proto_version(ctx.get(), TLS1_3_VERSION);
    // Every connection checks the peer afresh: no tickets, no resumption that would skip
    // a certificate revoked since.
    SSL_CTX_set_session_cache_mode(ctx.get(), SSL_SESS_CACHE_OFF);
    SSL_CTX_set_options(ctx.get(), SSL_OP_NO_TICKET);
    if (role == Role::Server)
        SSL_CTX_set_num_tickets(ctx.get(), 0);

    if (!readable(files.ca, "CA certificate", error))
        return nullptr;
    if (SSL_CTX_load_verify_locations(ctx.get(), files.ca.c_str(), nullptr) != 1) {
        *error = "CA certificate " + files.ca + ": " + takeOpenSslError("not a PEM certificate");
        return nullptr;
    }
    if (!files.certificate.empty()) {
        if (!readable(files.certificate, "certificate", error) || !readable(files.key, "key", error))
            return nullptr;
        if (SSL_CTX_use_certificate_chain_file(ctx.get(), files.certificate.c_str()) != 1) {
            *error = "certificate " + files.certificate + ": " + takeOpenSslError("not a PEM certificate");
            return nullptr;
        }
        if (SSL_CTX_use_PrivateKey_file(ctx.get(), files.key.c_str(), SSL_FILETYPE_PEM) != 1) {
            *error = "key " + files.key + ": " + takeOpenSslError("not a PEM key without a pass phrase");
            return nullptr;
        }
        if (SSL_CTX_check_private_key(ctx.get()) != 1) {
            *error = "key " + files.key + " does not belong to certificate " + files.certificate;
            ERR_clear_error();
            return nullptr;
        }
    }
    if (!files.revocationList.empty() && !loadRevocationList(ctx.get(), files.revocationList, error))
        return nullptr;
    if (role == Role::Server) {
        SSL_CTX_set_verify(ctx.get(), SSL_VERIFY_PEER | SSL_VERIFY_FAIL_IF_NO_PEER_CERT, nullptr);
        // Tells the workstation which CA to present a certificate of.
        if (STACK_OF(X509_NAME) *names = SSL_load_client_CA_file(files.ca.c_str()))
            SSL_CTX_set_client_CA_list(ctx.get(), names);
    } else {
        SSL_CTX_set_verify(ctx.get(), SSL_VERIFY_PEER, nullptr);
    }
    ERR_clear_error();
    return std::shared_ptr<const TlsContext>(new TlsContext(role, files, ctx.release()));
}

TlsContext::TlsContext(Role role, TlsFiles files, ssl_ctx_st *ctx)
    : m_role(role), m_files(std::move(files)), m_ctx(ctx), m_stamp(stamp(m_files))
{
}

TlsContext::~TlsContext() { SSL_CTX_free(m_ctx); }

bool TlsContext::filesChanged() const { return stamp(m_files) != m_stamp; }

} // namespace medrec::tp::tls
