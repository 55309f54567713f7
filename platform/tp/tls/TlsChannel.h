#pragma once

// One TLS connection's encryption, kept apart from the socket: bytes from the wire go in
// through receive(), what must go onto the wire comes out of takeOutput(), and the peers'
// own bytes go through process() and send(). The server and the client library each keep
// their own socket handling (non-blocking event loop, blocking calls with a deadline)
// around it.
//
// The handshake runs inside process(). A server channel fails it unless the peer shows a
// certificate of the site's CA that is valid now and not revoked; a client channel unless
// the host's certificate is of the site's CA and names the host it connected to. failure()
// then says why in a short English phrase ("certificate revoked", "certificate has
// expired", "the peer sent no certificate", ...).

#include "TlsContext.h"

#include <memory>
#include <string>
#include <string_view>

struct ssl_st;
struct bio_st;
struct x509_store_ctx_st;

namespace medrec::tp::tls {

class TlsChannel
{
public:
    enum class State
    {
        Handshaking,
        Open,
        Closed, // the peer ended the TLS session in order
        Failed
    };

    // peerName (client only): the service host's name or address, checked against its
    // certificate.
    explicit TlsChannel(std::shared_ptr<const TlsContext> context, const std::string &peerName = {});
    ~TlsChannel();
    TlsChannel(const TlsChannel &) = delete;
    TlsChannel &operator=(const TlsChannel &) = delete;

    // Bytes read from the wire.
    void receive(std::string_view cipher);
    // Advances the handshake and appends the peer's decrypted bytes to plain.
    State process(std::string &plain);
    // Encrypts the bytes (only once Open); false when the channel failed.
    bool send(std::string_view plain);
    // What has to be written to the wire now (handshake messages, records, alerts).
    std::string takeOutput();
    bool hasOutput() const;
    // Bytes received but not yet decrypted (a record half arrived).
    bool hasPendingInput() const;

    State state() const { return m_state; }
    const std::string &failure() const { return m_failure; }
    // True when the failure was the peer's certificate (not trusted, expired, revoked).
    bool certificateRefused() const { return !m_verifyFailure.empty(); }
    // Whether the peer's certificate, accepted at the handshake, still passes the checks of
    // context (the site's files loaded again: a certificate revoked since); false with
    // *why ("certificate revoked") when it does not.
    bool peerStillTrusted(const TlsContext &context, std::string *why) const;
    // The certificate subject of the peer (after the handshake), or of the certificate
    // that was refused ("CN=ward3-pc1,O=Hospital"); empty when there was none.
    const std::string &peerSubject() const { return m_subject; }

private:
    static int verify(int ok, x509_store_ctx_st *store);
    void fail(int sslError);

    std::shared_ptr<const TlsContext> m_context;
    ssl_st *m_ssl = nullptr;
    bio_st *m_in = nullptr;  // owned by m_ssl
    bio_st *m_out = nullptr; // owned by m_ssl
    State m_state = State::Handshaking;
    std::string m_failure;
    std::string m_verifyFailure;
    std::string m_subject;
};

} // namespace medrec::tp::tls
