#include "TlsChannel.h"

// The build without OpenSSL (MEDREC_TLS=OFF, as the MinGW test build): a site that names
// certificates is refused with a message saying so, never served in plain text.

namespace medrec::tp::tls {

std::shared_ptr<const TlsContext> TlsContext::load(Role role, const TlsFiles &, std::string *error)
{
    if (error)
        *error = role == Role::Server ? "this program was built without TLS: it cannot serve --tls-* options"
                                      : "this program was built without TLS: it cannot use TLS_CA, TLS_CERT, "
                                        "TLS_KEY or TLS_CRL";
    return nullptr;
}

TlsContext::~TlsContext() = default;

bool TlsContext::filesChanged() const { return false; }

// No context is ever loaded, so no channel is ever made; these keep the library whole.
TlsChannel::TlsChannel(std::shared_ptr<const TlsContext> context, const std::string &)
    : m_context(std::move(context)), m_state(State::Failed), m_failure("this program was built without TLS")
{
}

TlsChannel::~TlsChannel() = default;

void TlsChannel::receive(std::string_view) {}

TlsChannel::State TlsChannel::process(std::string &) { return m_state; }

bool TlsChannel::send(std::string_view) { return false; }

std::string TlsChannel::takeOutput() { return {}; }

bool TlsChannel::hasOutput() const { return false; }

bool TlsChannel::hasPendingInput() const { return false; }

bool TlsChannel::peerStillTrusted(const TlsContext &, std::string *why) const
{
    *why = m_failure;
    return false;
}

} // namespace medrec::tp::tls
