#include "ClientSession.h"

#include "Errors.h"
#include "TypedBuffer.h"
#include "codec/FieldBuffer.h"
#include "system/Socket.h"
#include "tls/TlsChannel.h"

#include <asio.hpp>

#include <algorithm>
#include <cstring>

namespace medrec::tp::client {

namespace {

bool isField(BufferType t) { return t == BufferType::Fml || t == BufferType::Fml32; }

} // namespace

struct ClientSession::Io
{
    asio::io_context context;
    asio::ip::tcp::socket socket{context};
    // The connected socket's blocking sends and receives (set once joined).
    std::optional<platform::BlockingSocket> blocking;

    // Runs the pending operation until it completes or the deadline passes; false on
    // time-out (the operation is then cancelled and has finished).
    bool run(bool &done, std::optional<Clock::time_point> deadline)
    {
        context.restart();
        if (deadline)
            context.run_until(*deadline);
        else
            context.run();
        if (done)
            return true;
        asio::error_code ignored;
        socket.cancel(ignored);
        context.restart();
        context.run();
        return false;
    }
};

ClientSession::ClientSession(const SiteEnvironment &env, long flags)
    : m_io(std::make_unique<Io>()), m_env(env), m_flags(flags)
{
}

ClientSession::~ClientSession() = default;

std::unique_ptr<ClientSession> ClientSession::join(const SiteEnvironment &env, const std::string &user,
                                                   const std::string &client, long flags)
{
    if (user.size() > MAXTIDENT || client.size() > MAXTIDENT) {
        fail(TPEINVAL, "user and client names are at most 17 bytes");
        return nullptr;
    }
    std::unique_ptr<ClientSession> s(new ClientSession(env, flags));
    Io &io = *s->m_io;

    asio::error_code ec;
    asio::ip::tcp::resolver resolver(io.context);
    auto endpoints = resolver.resolve(env.host, std::to_string(env.port), ec);
    if (ec) {
        fail(TPESYSTEM, "cannot resolve service host " + env.host + ": " + ec.message());
        return nullptr;
    }
    bool done = false;
    asio::async_connect(io.socket, endpoints, [&](const asio::error_code &e, const asio::ip::tcp::endpoint &) {
        ec = e;
        done = true;
    });
    if (!io.run(done, Clock::now() + std::chrono::seconds(env.connectTimeoutSeconds))) {
        fail(TPETIME, "no connection to " + env.host + ":" + std::to_string(env.port) + " within " +
                          std::to_string(env.connectTimeoutSeconds) + " s");
        return nullptr;
    }
    if (ec) {
        fail(TPESYSTEM, "cannot connect to " + env.host + ":" + std::to_string(env.port) + ": " + ec.message());
        return nullptr;
    }
    io.socket.set_option(asio::ip::tcp::no_delay(true), ec);
    // Reads and writes block in the kernel, limited to the call's deadline (waitLeft).
    io.socket.non_blocking(false, ec);
    io.socket.native_non_blocking(false, ec);
    std::string why;
    if (!platform::enableKeepAlive(io.socket.native_handle(), platform::KeepAlive{}, &why)) {
        fail(TPESYSTEM, why);
        return nullptr;
    }
    io.blocking.emplace(io.socket.native_handle());
    if (!env.tlsCa.empty()) {
        auto context = tls::TlsContext::load(tls::TlsContext::Role::Client,
                                             tls::TlsFiles{env.tlsCa, env.tlsCertificate, env.tlsKey, env.tlsRevocationList}, &why);
        if (!context) {
            fail(TPESYSTEM, "site environment: " + why);
            return nullptr;
        }
        s->m_tls = std::make_unique<tls::TlsChannel>(std::move(context), env.host);
        if (!s->handshake(Clock::now() + std::chrono::seconds(env.connectTimeoutSeconds)))
            return nullptr;
    }

    Frame init;
    init.kind = FrameKind::Init;
    init.flags = static_cast<std::uint32_t>(flags);
    init.data = user;
    init.data.push_back('\0');
    init.data += client;
    auto reply = s->request(std::move(init), s->callDeadline());
    if (!reply)
        return nullptr;
    if (reply->status != 0) {
        fail(reply->status, reply->name.empty() ? "the service host refused the session" : reply->name);
        return nullptr;
    }
    return s;
}

bool ClientSession::handshake(Clock::time_point deadline)
{
    for (;;) {
        const tls::TlsChannel::State state = m_tls->process(m_received);
        if (m_tls->hasOutput() && !writeBytes(m_tls->takeOutput(), deadline))
            return false;
        if (state == tls::TlsChannel::State::Open)
            return true;
        const std::string failed = "TLS with the service host " + m_env.host + ":" + std::to_string(m_env.port) +
                                   " failed: ";
        if (state != tls::TlsChannel::State::Handshaking) {
            const std::string why = m_tls->certificateRefused()
                                        ? "the host's certificate is not trusted (" + m_tls->failure() + ")"
                                        : m_tls->failure();
            lose(why);
            fail(TPESYSTEM, failed + why);
            return false;
        }
        const auto wait = waitLeft(deadline);
        if (!wait) {
            lose("no TLS handshake");
            fail(TPETIME, "no TLS handshake with " + m_env.host + ":" + std::to_string(m_env.port) + " within " +
                              std::to_string(m_env.connectTimeoutSeconds) + " s: does it serve TLS at this port?");
            return false;
        }
        char chunk[16 * 1024];
        const platform::Transfer t = m_io->blocking->receive(chunk, sizeof chunk, *wait);
        if (t.status == platform::Transfer::Status::Moved) {
            m_tls->receive(std::string_view(chunk, t.bytes));
        } else if (t.status != platform::Transfer::Status::Again) {
            const std::string why =
                t.status == platform::Transfer::Status::Closed ? std::string("the host closed the connection") : t.error;
            lose(why);
            fail(TPESYSTEM, failed + why + " (does it serve TLS at this port?)");
            return false;
        }
    }
}

bool ClientSession::take(const char *bytes, std::size_t n)
{
    if (!m_tls) {
        m_received.append(bytes, n);
        return true;
    }
    m_tls->receive(std::string_view(bytes, n));
    const tls::TlsChannel::State state = m_tls->process(m_received);
    if (state == tls::TlsChannel::State::Failed) {
        const std::string why = m_tls->failure();
        lose(why);
        fail(TPESYSTEM, why);
        return false;
    }
    if (state == tls::TlsChannel::State::Closed) {
        lose("the service host ended the TLS session");
        return false;
    }
    return true;
}

bool ClientSession::connected() const { return m_io->socket.is_open(); }

std::optional<ClientSession::Clock::time_point> ClientSession::callDeadline() const
{
    return Clock::now() + std::chrono::seconds(m_env.callTimeoutSeconds);
}

void ClientSession::lose(const std::string &why)
{
    asio::error_code ignored;
    m_io->socket.close(ignored);
    m_received.clear();
    const std::string detail = "connection to the service host lost: " + why;
    // The server rolls back what the lost connection held; the caller still ends it.
    if (m_transaction != 0 && m_rollbackReason.empty()) {
        m_rollbackReason = detail;
        m_rollbackError = TPEABORT;
    }
    fail(TPESYSTEM, detail);
}

void ClientSession::abandon(std::uint32_t transaction, const std::string &why)
{
    if (transaction != 0 && transaction == m_transaction && m_rollbackReason.empty())
        m_rollbackReason = why;
    if (!connected())
        return;
    // Not waited for: the server may be the one that is stuck. Its reply, when it comes,
    // is skipped like any late one. The caller's error stays what it was.
    const int error = lastError();
    const std::string detail = lastErrorDetail();
    Frame f;
    f.kind = FrameKind::Abort;
    f.sequence = ++m_sequence;
    f.transaction = transaction;
    writeFrame(f, Clock::now() + std::chrono::seconds(2));
    fail(error, detail);
}

std::optional<long> ClientSession::waitLeft(std::optional<Clock::time_point> deadline)
{
    if (!deadline)
        return 0; // no limit
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
    if (left.count() <= 0)
        return std::nullopt;
    return static_cast<long>(std::min<std::int64_t>(left.count(), 24L * 3600 * 1000));
}

// A call costs a send and a receive: the socket blocks in the kernel, with the time left
// to the call's deadline as its limit, rather than going through an event loop or a poll,
// whose extra waits and wake-ups cost more than the call itself.
bool ClientSession::writeFrame(const Frame &frame, std::optional<Clock::time_point> deadline)
{
    if (!m_tls)
        return writeBytes(encodeFrame(frame), deadline);
    if (!m_tls->send(encodeFrame(frame))) {
        lose(m_tls->failure());
        return false;
    }
    return writeBytes(m_tls->takeOutput(), deadline);
}

bool ClientSession::writeBytes(const std::string &bytes, std::optional<Clock::time_point> deadline)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const auto wait = waitLeft(deadline);
        if (!wait) {
            lose("sending timed out");
            return false;
        }
        const platform::Transfer t = m_io->blocking->send(bytes.data() + sent, bytes.size() - sent, *wait);
        if (t.status == platform::Transfer::Status::Moved)
            sent += t.bytes;
        else if (t.status == platform::Transfer::Status::Failed) {
            lose(t.error);
            return false;
        }
    }
    return true;
}

ClientSession::ReadResult ClientSession::receiveAtLeast(std::size_t count, std::optional<Clock::time_point> deadline)
{
    while (m_received.size() < count) {
        const auto wait = waitLeft(deadline);
        if (!wait)
            return ReadResult::TimedOut;
        char chunk[16 * 1024];
        const platform::Transfer t = m_io->blocking->receive(chunk, sizeof chunk, *wait);
        switch (t.status) {
        case platform::Transfer::Status::Moved:
            if (!take(chunk, t.bytes))
                return ReadResult::Lost;
            break;
        case platform::Transfer::Status::Closed:
            lose("the service host closed the connection");
            return ReadResult::Lost;
        case platform::Transfer::Status::Failed:
            lose(t.error);
            return ReadResult::Lost;
        case platform::Transfer::Status::Again:
            break;
        }
    }
    return ReadResult::Frame;
}

ClientSession::ReadResult ClientSession::readFrame(Frame &frame, std::optional<Clock::time_point> deadline)
{
    switch (receiveAtLeast(kFrameLengthPrefix, deadline)) {
    case ReadResult::Lost:
        return ReadResult::Lost;
    case ReadResult::TimedOut:
        if (m_received.empty())
            return ReadResult::TimedOut;
        lose("reply cut off");
        return ReadResult::Lost;
    case ReadResult::Frame:
        break;
    }
    std::string why;
    auto length = decodeLengthPrefix(std::string_view(m_received).substr(0, kFrameLengthPrefix), &why);
    if (!length) {
        lose("malformed frame from the service host: " + why);
        return ReadResult::Lost;
    }
    // Once a frame has started, its rest follows at once; a stall here is a broken link.
    const std::size_t total = kFrameLengthPrefix + *length;
    switch (receiveAtLeast(total, Clock::now() + std::chrono::seconds(m_env.callTimeoutSeconds))) {
    case ReadResult::Lost:
        return ReadResult::Lost;
    case ReadResult::TimedOut:
        lose("reply cut off");
        return ReadResult::Lost;
    case ReadResult::Frame:
        break;
    }
    auto decoded = decodeFrame(std::string_view(m_received).substr(kFrameLengthPrefix, *length), &why);
    m_received.erase(0, total);
    if (!decoded) {
        lose("malformed frame from the service host: " + why);
        return ReadResult::Lost;
    }
    frame = std::move(*decoded);
    return ReadResult::Frame;
}

std::optional<Frame> ClientSession::request(Frame frame, std::optional<Clock::time_point> deadline)
{
    if (!connected()) {
        fail(TPESYSTEM, "no connection to the service host");
        return std::nullopt;
    }
    frame.sequence = ++m_sequence;
    if (!writeFrame(frame, deadline))
        return std::nullopt;
    for (;;) {
        Frame in;
        switch (readFrame(in, deadline)) {
        case ReadResult::Lost:
            return std::nullopt;
        case ReadResult::TimedOut:
            fail(TPETIME, "no reply from the service host within " + std::to_string(m_env.callTimeoutSeconds) +
                              " s");
            return std::nullopt;
        case ReadResult::Frame:
            break;
        }
        if (in.kind == FrameKind::Unsol) {
            deliver(in);
            continue;
        }
        if (in.kind != FrameKind::Reply) {
            lose("unexpected frame kind from the service host");
            return std::nullopt;
        }
        if (in.sequence != frame.sequence)
            continue; // the late reply of a call that timed out
        return in;
    }
}

int ClientSession::call(const char *service, char *idata, char **odata, long *olen, long flags)
{
    if (m_inHandler)
        return fail(TPEPROTO, "service calls are not allowed inside the unsolicited-message handler");
    std::size_t nameLen = service ? std::strlen(service) : 0;
    if (nameLen == 0 || nameLen > kMaxServiceName)
        return fail(TPEINVAL, "service name must be 1 to 127 bytes");
    if ((flags & TPNOREPLY) || (flags & ~long(TPNOTRAN | TPNOBLOCK | TPSIGRSTRT | TPNOTIME)))
        return fail(TPEINVAL, "unsupported tpcall flags");
    BufferInfo in, out;
    if (!lookup(idata, in))
        return fail(TPEINVAL, "the request buffer was not allocated by tpalloc");
    if (!isField(in.type))
        return fail(TPEITYPE, std::string("services take FML or FML32 buffers, not ") + typeName(in.type));
    auto *sent = reinterpret_cast<Fbfr *>(idata);
    if (!fb::isValid(sent))
        return fail(TPEINVAL, "the request buffer is not an initialised field buffer");
    if (!odata || !lookup(*odata, out))
        return fail(TPEINVAL, "the reply buffer was not allocated by tpalloc");
    if (!isField(out.type))
        return fail(TPEOTYPE, std::string("replies are FML or FML32 buffers, not ") + typeName(out.type));

    const std::uint32_t transaction = (flags & TPNOTRAN) ? 0 : m_transaction;
    if (transaction != 0 && rollbackOnly())
        return fail(TPETRAN, "the transaction is rollback-only (" + m_rollbackReason + "): end it with tpabort");
    Frame f;
    f.kind = FrameKind::Call;
    f.flavour = flavourOf(in.type);
    f.flags = static_cast<std::uint32_t>(flags);
    f.transaction = transaction;
    f.name = service;
    f.data = std::string(fb::entries(sent));
    int serverStatus = 0;
    const int rc = callOnce(service, std::move(f), odata, olen, out, flags, &serverStatus);
    if (rc != 0 && transaction != 0) {
        // The server's own time-out of the transaction stays TPETIME at the commit.
        m_rollbackError = serverStatus == TPETIME ? TPETIME : TPEABORT;
        abandon(transaction, "the call of " + std::string(service) + " failed: " + lastErrorDetail());
    }
    return rc;
}

int ClientSession::callOnce(const char *service, Frame f, char **odata, long *olen, const BufferInfo &out,
                            long flags, int *serverStatus)
{
    auto reply = request(std::move(f), (flags & TPNOTIME) ? std::nullopt : callDeadline());
    if (!reply)
        return -1;
    *serverStatus = reply->status;
    setUserCode(reply->userCode);

    if (reply->flavour == Flavour::Fml || reply->flavour == Flavour::Fml32) {
        std::size_t need = fb::kHeaderSize + reply->data.size();
        std::size_t limit = maxSize(out.type);
        if (need > limit)
            return fail(TPELIMIT, "the reply of service " + std::string(service) + " (" + withThousands(need) +
                                      " bytes) does not fit an " + typeName(out.type) + " buffer (at most " +
                                      withThousands(limit) + " bytes)");
        auto *target = reinterpret_cast<Fbfr *>(*odata);
        if (!fb::isValid(target) || need > fb::size(target)) {
            // Some room beyond the reply, so the caller can still add a field or two.
            std::size_t room = std::min(limit, std::max(need + need / 4, out.size));
            char *grown = reallocate(*odata, static_cast<long>(room));
            if (!grown)
                return -1;
            *odata = grown;
            target = reinterpret_cast<Fbfr *>(grown);
        }
        if (fb::assign(target, reply->data) != 0)
            return fail(TPESYSTEM, "the reply's field buffer is malformed");
        if (olen)
            *olen = static_cast<long>(fb::used(target));
    }
    if (reply->status != 0) {
        std::string detail = reply->name.empty() ? "service " + std::string(service) : reply->name;
        return fail(reply->status, detail);
    }
    clearError();
    return 0;
}

int ClientSession::begin(unsigned long timeoutSeconds, long flags)
{
    if (m_inHandler)
        return fail(TPEPROTO, "transactions cannot start inside the unsolicited-message handler");
    if (flags != 0)
        return fail(TPEINVAL, "tpbegin takes no flags");
    if (m_transaction != 0)
        return fail(TPEPROTO, "a transaction is already open");
    Frame f;
    f.kind = FrameKind::Begin;
    f.arg = static_cast<std::uint32_t>(std::min<unsigned long>(timeoutSeconds, 0xFFFFFFFFul));
    // How long this side waits, so the server never opens a transaction after that.
    f.flags = static_cast<std::uint32_t>(std::min<unsigned long>(m_env.callTimeoutSeconds, 3600000ul) * 1000);
    auto reply = request(std::move(f), callDeadline());
    if (!reply) {
        abandon(0, {}); // a begin the server still completes is rolled back at once
        return -1;
    }
    if (reply->status != 0)
        return fail(reply->status, reply->name);
    m_transaction = reply->transaction;
    m_rollbackReason.clear();
    clearError();
    return 0;
}

int ClientSession::commit(long flags) { return endTransaction(FrameKind::Commit, "tpcommit", flags); }

int ClientSession::abort(long flags) { return endTransaction(FrameKind::Abort, "tpabort", flags); }

int ClientSession::endTransaction(FrameKind kind, const char *call, long flags)
{
    if (m_inHandler)
        return fail(TPEPROTO, std::string(call) + " is not allowed inside the unsolicited-message handler");
    if (flags != 0)
        return fail(TPEINVAL, std::string(call) + " takes no flags");
    if (m_transaction == 0)
        return fail(TPEPROTO, "no transaction is open");
    if (rollbackOnly()) {
        // The server was told to roll it back when the failure happened.
        const std::string why = m_rollbackReason;
        m_transaction = 0;
        m_rollbackReason.clear();
        if (kind == FrameKind::Abort) {
            clearError();
            return 0;
        }
        return fail(m_rollbackError, "the transaction was rolled back: " + why);
    }
    Frame f;
    f.kind = kind;
    f.transaction = m_transaction;
    m_transaction = 0;
    auto reply = request(std::move(f), callDeadline());
    if (!reply)
        return -1;
    if (reply->status != 0)
        return fail(reply->status, reply->name);
    clearError();
    return 0;
}

int ClientSession::term()
{
    if (connected()) {
        Frame f;
        f.kind = FrameKind::Term;
        request(std::move(f), Clock::now() + std::chrono::seconds(5));
        asio::error_code ignored;
        m_io->socket.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
        m_io->socket.close(ignored);
    }
    m_transaction = 0;
    m_rollbackReason.clear();
    clearError();
    return 0;
}

Unsolfunc *ClientSession::setUnsolicited(Unsolfunc *handler)
{
    Unsolfunc *previous = m_handler;
    m_handler = handler;
    return previous;
}

int ClientSession::checkUnsolicited()
{
    if (m_inHandler)
        return 0;
    int delivered = 0;
    while (connected()) {
        asio::error_code ec;
        const std::size_t waiting = m_received.size() + m_io->socket.available(ec);
        if (ec) {
            lose(ec.message());
            return -1;
        }
        if (waiting == 0)
            break;
        Frame in;
        if (readFrame(in, Clock::now() + std::chrono::seconds(m_env.callTimeoutSeconds)) != ReadResult::Frame)
            return -1;
        if (in.kind == FrameKind::Unsol) {
            deliver(in);
            ++delivered;
        }
        // A late reply of a timed-out call is dropped here.
    }
    return delivered;
}

void ClientSession::deliver(const Frame &unsol)
{
    if (!m_handler || (m_flags & TPU_IGN))
        return;
    const char *type = unsol.flavour == Flavour::Fml    ? "FML"
                       : unsol.flavour == Flavour::Fml32 ? "FML32"
                                                         : "STRING";
    long len = static_cast<long>(unsol.data.size());
    char *buf = nullptr;
    if (unsol.flavour == Flavour::String || unsol.flavour == Flavour::None) {
        buf = allocate("STRING", nullptr, len + 1);
        if (buf)
            std::memcpy(buf, unsol.data.data(), unsol.data.size());
    } else {
        buf = allocate(type, nullptr, static_cast<long>(fb::kHeaderSize + unsol.data.size()));
        if (buf && fb::assign(reinterpret_cast<Fbfr *>(buf), unsol.data) != 0) {
            release(buf);
            buf = nullptr;
        }
        len = buf ? static_cast<long>(fb::used(reinterpret_cast<Fbfr *>(buf))) : 0;
    }
    if (!buf)
        return;
    m_inHandler = true;
    m_handler(buf, len, 0);
    m_inHandler = false;
    release(buf);
}

} // namespace medrec::tp::client
