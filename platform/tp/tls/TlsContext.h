#pragma once

// The site's TLS settings, loaded once: TLS 1.3 only, peers checked against the site's CA.
//
// Server: its own certificate and key, the CA that signs the workstations' certificates,
// and optionally the site's revocation list (every workstation certificate is then checked
// against it). A workstation without a certificate is refused.
// Client: the CA that signs the service host's certificate (its name or address is checked
// against the certificate at each connection), the workstation's certificate and key
// (both or neither), and optionally the site's revocation list (the host's certificate is
// then checked against it).
//
// Files are PEM. Loading fails with a message naming the file and what is wrong with it.

#include <ctime>
#include <memory>
#include <string>

struct ssl_ctx_st;

namespace medrec::tp::tls {

struct TlsFiles
{
    std::string ca;
    std::string certificate;
    std::string key;
    std::string revocationList; // empty: none
    bool enabled() const { return !ca.empty() || !certificate.empty() || !key.empty() || !revocationList.empty(); }
};

class TlsContext
{
public:
    enum class Role
    {
        Server,
        Client
    };

    // Null with *error when a file is missing, unreadable or does not fit the others.
    static std::shared_ptr<const TlsContext> load(Role role, const TlsFiles &files, std::string *error);
    ~TlsContext();
    TlsContext(const TlsContext &) = delete;
    TlsContext &operator=(const TlsContext &) = delete;

    Role role() const { return m_role; }
    const TlsFiles &files() const { return m_files; }
    ssl_ctx_st *handle() const { return m_ctx; }
    // True when one of the files changed on disk since loading (a new revocation list, a
    // renewed certificate): the server then loads them again for new connections.
    bool filesChanged() const;

private:
    TlsContext(Role role, TlsFiles files, ssl_ctx_st *ctx);
    Role m_role;
    TlsFiles m_files;
    ssl_ctx_st *m_ctx;
    std::string m_stamp; // modification times of the files when loaded
};

// The reason of the last OpenSSL failure on this thread ("certificate verify failed"),
// with OpenSSL's queue of errors emptied; fallback when the queue is empty.
std::string takeOpenSslError(const std::string &fallback);

} // namespace medrec::tp::tls
