#include "Session.h"

#include "Cp949.h"
#include "LocalTime.h"
#include "atmi.h"
#include "codec/FieldBuffer.h"

#include <sqlite3.h>

namespace medrec::server {

namespace {

bool isServiceName(std::string_view name)
{
    if (name.empty())
        return false;
    for (char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

const char *requestName(const tp::Frame &frame)
{
    switch (frame.kind) {
    case tp::FrameKind::Init:
        return "tpinit";
    case tp::FrameKind::Call:
        return frame.name.c_str();
    case tp::FrameKind::Begin:
        return "tpbegin";
    case tp::FrameKind::Commit:
        return "tpcommit";
    case tp::FrameKind::Abort:
        return "tpabort";
    case tp::FrameKind::Term:
        return "tpterm";
    default:
        return "request";
    }
}

std::string fieldText(const tp::FieldTable &fields, const Fbfr *buffer, const char *name)
{
    FLDID id = fields.id(name);
    if (id == BADFLDID)
        return {};
    auto v = tp::fb::find(buffer, id, 0);
    return v ? text::fromCp949(tp::fb::toText(*v)) : std::string();
}

// Unanswered requests (and queued notices) a session may have before reading from it stops.
constexpr std::size_t kMaxUnanswered = 8;
// Most read at once; a frame's body is read as it arrives, never allocated up front.
constexpr std::size_t kReadChunk = 64 * 1024;
// Room for the first bytes of a frame: a whole request as a rule.
constexpr std::size_t kFirstRead = 1024;
// Room for one TLS record (16 KB of data and its overhead).
constexpr std::size_t kTlsRead = 17 * 1024;
// How long a closing connection's late bytes are read and dropped before it closes.
constexpr auto kDrainTime = std::chrono::seconds(2);
// The first byte of every TLS connection: a handshake record.
constexpr unsigned char kTlsHandshakeRecord = 22;

bool looksLikeTls(std::string_view bytes)
{
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == kTlsHandshakeRecord && bytes[1] == 3;
}

std::string seconds(std::chrono::milliseconds ms)
{
    if (ms.count() % 1000 == 0)
        return std::to_string(ms.count() / 1000) + " s";
    return std::to_string(ms.count()) + " ms";
}

} // namespace

Session::Session(asio::ip::tcp::socket socket, asio::io_context &loop, std::shared_ptr<ServerState> state,
                 std::uint64_t id, bool refusing, std::shared_ptr<const tp::tls::TlsContext> tls)
    : m_socket(std::move(socket)), m_strand(asio::make_strand(loop)), m_timer(m_strand),
      m_beginTimer(m_strand), m_deadlineTimer(m_strand), m_state(std::move(state)), m_id(id), m_refusing(refusing),
      m_tls(tls ? std::make_unique<tp::tls::TlsChannel>(tls) : nullptr), m_trustedBy(std::move(tls))
{
    asio::error_code ec;
    auto remote = m_socket.remote_endpoint(ec);
    m_peer = ec ? std::string("?") : remote.address().to_string() + ":" + std::to_string(remote.port());
    m_socket.set_option(asio::ip::tcp::no_delay(true), ec);
    m_socket.non_blocking(true, ec); // reads take what has arrived, see receive()
    std::string why;
    if (!platform::enableKeepAlive(m_socket.native_handle(), m_state->options.keepAlive, &why))
        log(why);
    m_started = m_lastRead = m_lastWrite = m_lastRequest = m_trustCheckedAt = Clock::now();
}

Session::~Session()
{
    // The transaction's connection goes back to the pool, which rolls it back.
    m_transaction.reset();
}

void Session::start()
{
    asio::dispatch(m_strand, [self = shared_from_this()] {
        self->updateDeadline();
        self->readMore();
    });
}

SessionInfo Session::info() const
{
    std::lock_guard lock(m_infoMutex);
    return SessionInfo{m_id,
                       m_user,
                       m_client,
                       m_peer,
                       m_workstation,
                       m_joined,
                       m_transaction.has_value() && m_transaction->doom == Transaction::Doom::None};
}

void Session::shutdown()
{
    asio::dispatch(m_strand, [self = shared_from_this()] { self->close("server stopping"); });
}

void Session::giveWay(std::string why)
{
    // Posted, never run here: the caller holds the server's lock on its sessions.
    asio::post(m_strand, [self = shared_from_this(), why = std::move(why)] {
        if (!self->m_joined)
            self->close(why);
    });
}

void Session::log(const std::string &line) const
{
    m_state->logLine("session " + std::to_string(m_id) + " (" + m_peer + "): " + line);
}

void Session::finish(const std::string &why)
{
    if (m_closeAfterWrite)
        return;
    m_closeAfterWrite = true;
    m_inputEnded = true;
    m_finishWhy = why;
    if (!m_writing && m_outbox.empty() && !m_pendingBegin && !m_auditPending)
        drainThenClose();
    else
        updateDeadline();
}

void Session::drainThenClose()
{
    if (m_closed)
        return;
    if (!m_draining) {
        if (m_refusing) {
            m_refusing = false;
            m_refusedDraining = m_state->refusalSent();
            if (!m_refusedDraining) {
                close(m_finishWhy);
                return;
            }
        }
        m_draining = true;
        asio::error_code ignored;
        m_socket.shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
        setDeadline(Clock::now() + kDrainTime, m_finishWhy);
    }
    if (m_reading)
        return; // the read under way goes on draining
    m_reading = true;
    if (m_readSpace.size() < kFirstRead)
        m_readSpace.resize(kFirstRead);
    m_socket.async_read_some(asio::buffer(m_readSpace.data(), m_readSpace.size()),
                             asio::bind_executor(m_strand, [self = shared_from_this()](const asio::error_code &ec,
                                                                                        std::size_t) {
                                 self->m_reading = false;
                                 if (self->m_closed)
                                     return;
                                 if (ec)
                                     self->close(self->m_finishWhy);
                                 else
                                     self->drainThenClose();
                             }));
}

void Session::close(const std::string &why)
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_joined)
        m_state->logLine(logPrefix() + " ended: " + why, LogLevel::Info);
    else
        m_state->logLine(logPrefix() + " closed before joining: " + why, LogLevel::Debug);
    if (m_transaction && m_transaction->doom == Transaction::Doom::None)
        log("transaction " + std::to_string(m_transaction->id) + " rolled back: " + why);
    {
        std::lock_guard lock(m_infoMutex);
        m_transaction.reset(); // rolls back
    }
    m_timer.cancel();
    m_beginTimer.cancel();
    m_deadlineTimer.cancel();
    m_pendingBegin.reset();
    asio::error_code ignored;
    m_socket.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    m_socket.close(ignored);
    // Only now that no read or write can touch them any more.
    m_outbox.clear();
    m_input = std::string();
    m_state->sessionClosed(m_id, m_refusing, m_refusedDraining);
}

bool Session::completeFrameBuffered() const
{
    if (m_input.size() < tp::kFrameLengthPrefix)
        return false;
    auto length = tp::decodeLengthPrefix(std::string_view(m_input).substr(0, tp::kFrameLengthPrefix), nullptr);
    // A bad prefix is as good as complete: handling it ends the session.
    return !length || m_input.size() >= tp::kFrameLengthPrefix + *length;
}

std::size_t Session::unanswered() const
{
    return m_outbox.size() + (m_pendingBegin ? 1 : 0) + (m_auditPending ? 1 : 0);
}

void Session::readMore()
{
    if (m_closed || m_reading || m_inputEnded || completeFrameBuffered())
        return;
    m_reading = true;
    // No more than the frame under way still lacks, so a complete frame is never followed
    // by bytes read ahead of the back-pressure; and room only for about as much as has
    // arrived, so a connection holds what it really sent, never what it announced.
    std::size_t want = kReadChunk;
    if (m_input.size() >= tp::kFrameLengthPrefix) {
        auto length = tp::decodeLengthPrefix(std::string_view(m_input).substr(0, tp::kFrameLengthPrefix), nullptr);
        want = std::min(kReadChunk, tp::kFrameLengthPrefix + *length - m_input.size());
    }
    const std::size_t room = m_tls ? kTlsRead : std::min(want, std::max(kFirstRead, m_input.size()));
    if (m_readSpace.size() < room)
        m_readSpace.resize(room);
    // A read rather than a wait for readiness: the event loop then reads as the bytes come,
    // without re-arming the socket for every request.
    m_socket.async_read_some(asio::buffer(m_readSpace.data(), room),
                             asio::bind_executor(m_strand, [self = shared_from_this()](const asio::error_code &ec,
                                                                                        std::size_t got) {
                                 self->m_reading = false;
                                 if (!self->m_closed)
                                     self->received(ec, got);
                             }));
}

void Session::received(const asio::error_code &ec, std::size_t got)
{
    if (m_draining) {
        if (ec)
            close(m_finishWhy);
        else
            drainThenClose();
        return;
    }
    takeBytes(std::string_view(m_readSpace.data(), got));
    if (m_closed || m_draining)
        return;
    if (ec == asio::error::eof) {
        // The client has sent all it will (perhaps half-closing right after a commit):
        // what it sent is still answered.
        if (!m_input.empty() && !completeFrameBuffered())
            log("connection closed inside a frame");
        m_inputEnded = true;
        processInput();
        return;
    }
    if (ec) {
        close(m_input.empty() ? ec.message() : "connection lost inside a frame: " + ec.message());
        return;
    }
    m_lastRead = Clock::now();
    processInput();
}

void Session::takeBytes(std::string_view bytes)
{
    if (bytes.empty())
        return;
    if (m_firstBytes) {
        m_firstBytes = false;
        if (m_tls && static_cast<unsigned char>(bytes.front()) != kTlsHandshakeRecord) {
            // A client without TLS settings: it is told so in its own terms (refusePlainClient).
            m_tls.reset();
            m_plainAtTlsPort = true;
        } else if (!m_tls && looksLikeTls(bytes)) {
            log("a TLS client at a plain TCP port: closed");
            m_inputEnded = true;
            finish("TLS client at a plain TCP port");
            return;
        }
    }
    if (!m_tls) {
        m_input.append(bytes);
        return;
    }
    using State = tp::tls::TlsChannel::State;
    const bool handshaking = m_tls->state() == State::Handshaking;
    m_tls->receive(bytes);
    const State state = m_tls->process(m_input);
    if (m_tls->hasOutput())
        queueWire(m_tls->takeOutput());
    if (handshaking && state != State::Handshaking)
        handshakeDone();
    else if (state == State::Failed) {
        log("TLS failed: " + m_tls->failure());
        m_input.clear();
        finish("TLS failed");
    } else if (state == State::Closed)
        m_inputEnded = true;
}

void Session::handshakeDone()
{
    if (m_tls->state() == tp::tls::TlsChannel::State::Failed) {
        const std::string subject = m_tls->peerSubject();
        m_state->logLine("session " + std::to_string(m_id) + " (" + m_peer +
                             "): workstation refused before any service: " + m_tls->failure() +
                             (subject.empty() ? std::string() : " (" + subject + ")"),
                         LogLevel::Warning);
        m_input.clear();
        m_inputEnded = true;
        finish("workstation certificate refused");
        return;
    }
    {
        std::lock_guard lock(m_infoMutex);
        m_workstation = m_tls->peerSubject();
    }
    m_state->logLine(logPrefix() + ": TLS 1.3 with workstation certificate " + m_workstation, LogLevel::Debug);
}

bool Session::refusePlainClient(const tp::Frame &frame)
{
    if (!m_plainAtTlsPort)
        return false;
    m_state->logLine("session " + std::to_string(m_id) + " (" + m_peer +
                         "): refused: a plain TCP client at the TLS port (no TLS settings in its site environment file)",
                     LogLevel::Warning);
    replyStatus(frame, TPESYSTEM,
                "this service host takes TLS connections only: the site environment file must name TLS_CA, "
                "TLS_CERT, TLS_KEY");
    finish("plain client at the TLS port");
    return true;
}

bool Session::refuseDistrustedWorkstation(const tp::Frame &frame)
{
    // Looked at once a second at most, so a call costs no lock here; m_lastRequest is this
    // request's arrival.
    if (!m_tls || !m_joined || m_lastRequest - m_trustCheckedAt < std::chrono::seconds(1))
        return false;
    m_trustCheckedAt = m_lastRequest;
    auto current = m_state->currentTls();
    if (!current || current == m_trustedBy)
        return false;
    m_trustedBy = current;
    std::string why;
    if (m_tls->peerStillTrusted(*current, &why))
        return false;
    m_state->logLine(logPrefix() + ": ended: the workstation certificate is no longer accepted: " + why, LogLevel::Warning);
    replyStatus(frame, TPESYSTEM, "the service host no longer accepts this workstation's certificate: " + why);
    finish("workstation certificate no longer accepted");
    return true;
}

void Session::processInput()
{
    while (!m_closed && !m_closeAfterWrite && !m_pendingBegin && !m_auditPending && unanswered() < kMaxUnanswered &&
           m_input.size() >= tp::kFrameLengthPrefix) {
        std::string why;
        auto length = tp::decodeLengthPrefix(std::string_view(m_input).substr(0, tp::kFrameLengthPrefix), &why);
        if (length && m_input.size() < tp::kFrameLengthPrefix + *length)
            break;
        std::optional<tp::Frame> frame;
        if (length) {
            frame = tp::decodeFrame(std::string_view(m_input).substr(tp::kFrameLengthPrefix, *length), &why);
            m_input.erase(0, tp::kFrameLengthPrefix + *length);
        }
        if (!frame) {
            // What came before it is still answered.
            log("bad frame: " + why);
            m_input.clear();
            finish("bad frame");
            break;
        }
        m_lastRequest = Clock::now();
        handle(std::move(*frame));
    }
    if (m_closed)
        return;
    if (m_input.empty() && m_input.capacity() > kReadChunk)
        m_input.shrink_to_fit(); // after a large frame
    if (!m_reading && m_readSpace.size() > kFirstRead)
        m_readSpace = std::string(kFirstRead, '\0');
    if (m_inputEnded && !m_closeAfterWrite && !completeFrameBuffered() && !m_pendingBegin && !m_auditPending)
        finish("client closed the connection");
    if (m_closed)
        return;
    updateDeadline();
    readMore();
}

void Session::updateDeadline()
{
    if (m_closed || m_draining)
        return;
    const auto &o = m_state->options;
    Clock::time_point when = Clock::time_point::max();
    std::string why;
    auto consider = [&](Clock::time_point t, std::string reason) {
        if (t < when) {
            when = t;
            why = std::move(reason);
        }
    };
    if (!m_joined && !m_closeAfterWrite)
        consider(m_started + o.initTimeout, "no Init within " + seconds(o.initTimeout));
    if (((!m_input.empty() && !completeFrameBuffered()) || (m_tls && m_tls->hasPendingInput())) && !m_inputEnded)
        consider(m_lastRead + o.stallTimeout, "no byte of a started frame for " + seconds(o.stallTimeout));
    if (m_writing)
        consider(m_lastWrite + o.stallTimeout, "the client took no reply bytes for " + seconds(o.stallTimeout));
    if (m_joined && o.idleTimeout.count() > 0 && m_input.empty() && !m_writing && !m_pendingBegin &&
        !m_closeAfterWrite)
        consider(m_lastRequest + o.idleTimeout,
                 "idle for " + seconds(std::chrono::duration_cast<std::chrono::milliseconds>(o.idleTimeout)));
    setDeadline(when, std::move(why));
}

void Session::setDeadline(Clock::time_point when, std::string why)
{
    m_deadline = when;
    m_deadlineWhy = std::move(why);
    if (when == Clock::time_point::max()) {
        // A running wait finds no deadline and stops.
        return;
    }
    // A running wait that ends no later re-checks and waits again for the rest.
    if (m_deadlineArmed && m_deadlineTimer.expiry() <= when)
        return;
    m_deadlineTimer.expires_at(when);
    m_deadlineArmed = true;
    m_deadlineTimer.async_wait([self = shared_from_this()](const asio::error_code &ec) {
        if (ec == asio::error::operation_aborted)
            return;
        self->m_deadlineArmed = false;
        self->onDeadline();
    });
}

void Session::onDeadline()
{
    if (m_closed || m_deadline == Clock::time_point::max())
        return;
    if (Clock::now() < m_deadline) {
        setDeadline(m_deadline, m_deadlineWhy);
        return;
    }
    if (m_draining) {
        close(m_finishWhy);
        return;
    }
    log("closed: " + m_deadlineWhy);
    close(m_deadlineWhy);
}

void Session::handle(tp::Frame frame)
{
    if (refusePlainClient(frame) || refuseDistrustedWorkstation(frame))
        return;
    switch (frame.kind) {
    case tp::FrameKind::Init:
        handleInit(frame);
        return;
    case tp::FrameKind::Term:
        replyStatus(frame, 0, {});
        finish("client left");
        return;
    case tp::FrameKind::Reply:
    case tp::FrameKind::Unsol:
        log("server frame kind from a client");
        finish("protocol error");
        return;
    default:
        break;
    }
    if (!m_joined) {
        replyFailure(frame, TPEPROTO, "not joined: tpinit has not been called",
                     "세션이 시작되지 않았습니다. 먼저 접속(tpinit)하십시오.", -1);
        return;
    }
    switch (frame.kind) {
    case tp::FrameKind::Call:
        handleCall(frame);
        return;
    case tp::FrameKind::Begin:
        handleBegin(frame);
        return;
    case tp::FrameKind::Commit:
        handleCommit(frame);
        return;
    case tp::FrameKind::Abort:
        handleAbort(frame);
        return;
    default:
        return;
    }
}

void Session::handleInit(const tp::Frame &frame)
{
    if (m_refusing) {
        const std::size_t max = m_state->maxSessions;
        replyStatus(frame, TPELIMIT,
                    "the service host serves at most " + std::to_string(max) + " sessions; try again later");
        m_state->logLine("connection refused: " + std::to_string(max) + " sessions open");
        finish("refused");
        return;
    }
    if (m_joined) {
        replyStatus(frame, TPEPROTO, "already joined");
        return;
    }
    std::string_view data = frame.data;
    std::size_t zero = data.find('\0');
    std::string_view user = data.substr(0, zero);
    std::string_view client = zero == std::string_view::npos ? std::string_view{} : data.substr(zero + 1);
    if (user.size() > MAXTIDENT || client.size() > MAXTIDENT || client.find('\0') != std::string_view::npos) {
        replyStatus(frame, TPEINVAL, "user and client names are at most 17 bytes");
        return;
    }
    {
        std::lock_guard lock(m_infoMutex);
        m_user = text::fromCp949(user);
        m_client = text::fromCp949(client);
        m_joined = true;
    }
    m_state->sessionJoined(m_id);
    m_state->logLine(logPrefix() + " started", LogLevel::Info);
    replyStatus(frame, 0, {});
}

void Session::handleCall(const tp::Frame &frame)
{
    const tp::FieldTable &fields = *m_state->options.fields;
    if (frame.flavour != tp::Flavour::Fml && frame.flavour != tp::Flavour::Fml32) {
        replyStatus(frame, TPEITYPE, "services take FML or FML32 buffers");
        return;
    }
    if (!isServiceName(frame.name)) {
        replyFailure(frame, TPENOENT, "bad service name", "서비스 이름이 올바르지 않습니다.", -1);
        return;
    }
    const ServiceHandler *handler = m_state->registry.find(frame.name);
    if (!handler) {
        replyFailure(frame, TPENOENT, "no service named " + frame.name,
                     "등록되지 않은 서비스입니다: " + frame.name, -1);
        return;
    }
    const bool callInTransaction = !(frame.flags & TPNOTRAN) && frame.transaction != 0;

    std::unique_ptr<char[]> storage(new char[tp::fb::kHeaderSize + frame.data.size()]);
    auto *requestBuffer = reinterpret_cast<Fbfr *>(storage.get());
    tp::fb::init(requestBuffer, tp::fb::kHeaderSize + frame.data.size());
    tp::fb::assign(requestBuffer, frame.data); // validated by the decoder

    const RowAsk ask = askedRows(requestBuffer);
    if (ask.from != 0) {
        if (callInTransaction && refuseCallInTransaction(frame))
            return;
        continueRows(frame, requestBuffer, ask.from);
        return;
    }
    // Any other call ends what an earlier one left to continue.
    m_pendingRows.reset();

    PooledConnection *db = nullptr;
    ConnectionPool::Connection pooled(nullptr, ConnectionPool::Giver{&m_state->pool});
    if (callInTransaction) {
        if (refuseCallInTransaction(frame))
            return;
        db = m_transaction->connection.get();
    } else {
        std::string why;
        pooled = m_state->pool.acquire(&why);
        if (!pooled) {
            replyFailure(frame, TPESYSTEM, "database unavailable", "데이터베이스에 연결할 수 없습니다: " + why, -1);
            return;
        }
        db = pooled.get();
    }

    Identity identity;
    {
        std::lock_guard lock(m_infoMutex);
        identity.user = m_user;
        identity.client = m_client;
        identity.workstation = m_workstation;
    }
    identity.logUser = fieldText(fields, requestBuffer, "LOG_USERNAME");
    identity.logClient = fieldText(fields, requestBuffer, "LOG_CLTNAME");
    identity.logForm = fieldText(fields, requestBuffer, "LOG_FORMNAME");

    Request request(requestBuffer, fields);
    auto reply = std::make_unique<Reply>(fields, tp::flavourMaxSize(frame.flavour));
    ServiceContext ctx(frame.name, request, *reply, std::move(identity), db->sql(), callInTransaction, m_id,
                       m_state.get());
    int status = 0;
    std::string detail;
    try {
        (*handler)(ctx);
        if (ctx.failed()) {
            status = TPESVCFAIL;
            detail = "service " + frame.name + " reported a failure";
        }
    } catch (const std::exception &e) {
        status = TPESVCERR;
        detail = "service " + frame.name + " failed unexpectedly";
        ctx.fail("서비스 " + frame.name + " 처리 중 오류가 발생했습니다: " + e.what(), -1);
        m_state->logLine("service " + frame.name + ": " + e.what());
    } catch (...) {
        status = TPESVCERR;
        detail = "service " + frame.name + " failed unexpectedly";
        ctx.fail("서비스 " + frame.name + " 처리 중 오류가 발생했습니다.", -1);
    }
    pooled.reset();

    if (!reply->overflowed() && fields.id("STATLIN") != BADFLDID) {
        if (!ctx.status().empty() || reply->count("STATLIN") == 0)
            reply->setText("STATLIN", 0, ctx.status());
    }
    // Bytes the whole answer would take when it does not fit (0: more than the limit).
    std::optional<std::size_t> oversize;
    if (reply->overflowed())
        oversize = 0;
    else if (const auto rows = ctx.rows(); rows && status != TPESVCERR)
        oversize = packFirstRows(frame, requestBuffer, ask.canContinue, rows, ctx, *reply);
    if (!oversize && reply->usedBytes() > tp::flavourMaxSize(frame.flavour))
        oversize = reply->usedBytes();
    if (callInTransaction && (status != 0 || oversize))
        doom(Transaction::Doom::Failed, oversize ? "the reply of service " + frame.name + " was too large"
                                                 : "service " + frame.name + " failed");
    if (oversize) {
        replyTooLarge(frame, *oversize);
        return;
    }
    if (status == 0 && !ctx.audited().empty() && m_state->audit) {
        // A write's reply waits for its rows; a read's rows follow it to the disk.
        if (callInTransaction) {
            replyAfterAudit(frame, ctx.audited(),
                            encodeReply(frame, status, ctx.userCode(), detail, *reply, ctx.status()));
            return;
        }
        m_state->audit->write(auditRows(frame.name, ctx.audited()), {});
    }
    sendReply(frame, status, ctx.userCode(), detail, *reply, ctx.status());
}

void Session::replyTooLarge(const tp::Frame &frame, std::size_t bytes)
{
    const std::size_t limit = tp::flavourMaxSize(frame.flavour);
    std::string size = bytes == 0 ? "more than " + tp::withThousands(limit) : tp::withThousands(bytes);
    std::string sizeKo = bytes == 0 ? tp::withThousands(limit) + "바이트 이상" : tp::withThousands(bytes) + "바이트";
    replyFailure(frame, TPELIMIT,
                 "the reply of service " + frame.name + " (" + size + " bytes) exceeds the " +
                     tp::withThousands(limit) + "-byte limit of an " + tp::flavourName(frame.flavour) + " buffer",
                 "조회 결과가 너무 커서 보낼 수 없습니다: 응답 " + sizeKo + "가 " + tp::flavourName(frame.flavour) +
                     " 버퍼 한도 " + tp::withThousands(limit) + "바이트를 넘습니다. 조회 범위를 줄여 다시 조회하십시오.",
                 -1);
}

void Session::sendReply(const tp::Frame &frame, int status, long userCode, const std::string &detail,
                        const Reply &reply, const std::string &statusText)
{
    sendEncoded(encodeReply(frame, status, userCode, detail, reply, statusText));
}

std::string Session::encodeReply(const tp::Frame &frame, int status, long userCode, const std::string &detail,
                                 const Reply &reply, const std::string &statusText)
{
    tp::Frame out;
    out.kind = tp::FrameKind::Reply;
    out.sequence = frame.sequence;
    out.flavour = frame.flavour;
    out.transaction = frame.transaction;
    out.status = status;
    out.userCode = static_cast<std::int32_t>(userCode);
    out.name = detail.substr(0, tp::kMaxServiceName);
    logOutcome(frame, status, status == 0 ? detail : detail + ": " + statusText);
    return tp::encodeFrame(out, tp::fb::entries(reply.buffer()));
}

std::vector<AuditRow> Session::auditRows(const std::string &service, std::vector<std::string> patients) const
{
    std::vector<AuditRow> rows;
    const std::string at = localTimestamp();
    std::lock_guard lock(m_infoMutex);
    for (std::string &patno : patients)
        rows.push_back(AuditRow{at, m_workstation, m_user, service, std::move(patno)});
    return rows;
}

void Session::replyAfterAudit(const tp::Frame &request, std::vector<std::string> patients, std::string reply)
{
    std::vector<AuditRow> rows = auditRows(request.name, std::move(patients));
    tp::Frame answered = request; // what a failure reply needs of it
    answered.data.clear();
    m_auditPending = true;
    m_state->audit->write(std::move(rows), [self = shared_from_this(), answered = std::move(answered),
                                             reply = std::move(reply)](bool written, const std::string &why) mutable {
        asio::post(self->m_strand, [self, answered = std::move(answered), reply = std::move(reply), written, why] {
            self->m_auditPending = false;
            if (self->m_closed)
                return;
            if (written) {
                self->sendEncoded(reply);
            } else {
                // The data does not leave without its audit row.
                self->m_state->logLine("access audit cannot be written: " + why, LogLevel::Error);
                if (answered.transaction != 0 && self->m_transaction)
                    self->doom(Transaction::Doom::Failed, "the access audit could not be written");
                self->replyFailure(answered, TPESYSTEM, "the access audit cannot be written",
                                   "접근 기록을 남기지 못해 조회 결과를 보낼 수 없습니다: " + why, -1);
            }
            if (self->m_closeAfterWrite && !self->m_writing && self->m_outbox.empty() && !self->m_pendingBegin)
                self->drainThenClose();
            else
                self->processInput();
        });
    });
}

std::string Session::logPrefix() const
{
    std::lock_guard lock(m_infoMutex);
    std::string prefix = "session " + std::to_string(m_id) + " (" + m_peer;
    if (!m_workstation.empty())
        prefix += ", workstation " + m_workstation;
    if (m_joined)
        prefix += ", user " + m_user + ", client " + m_client;
    return prefix + ")";
}

void Session::logOutcome(const tp::Frame &request, int status, const std::string &detail)
{
    if (status != 0)
        m_state->logLine(logPrefix() + ": " + requestName(request) + " failed (error " + std::to_string(status) +
                             "): " + detail,
                         LogLevel::Warning);
    else if (m_state->logs(LogLevel::Debug))
        m_state->logLine(logPrefix() + ": " + requestName(request) + " done", LogLevel::Debug);
}

void Session::replyStatus(const tp::Frame &request, int status, std::string detail)
{
    logOutcome(request, status, detail);
    tp::Frame out;
    out.kind = tp::FrameKind::Reply;
    out.sequence = request.sequence;
    out.transaction = request.transaction;
    out.status = status;
    out.name = detail.substr(0, tp::kMaxServiceName);
    send(std::move(out));
}

void Session::replyFailure(const tp::Frame &request, int status, std::string detail,
                           const std::string &statlinUtf8, long userCode)
{
    logOutcome(request, status, detail + ": " + statlinUtf8);
    const tp::FieldTable &fields = *m_state->options.fields;
    tp::Frame out;
    out.kind = tp::FrameKind::Reply;
    out.sequence = request.sequence;
    out.transaction = request.transaction;
    out.status = status;
    out.userCode = static_cast<std::int32_t>(userCode);
    out.name = detail.substr(0, tp::kMaxServiceName);
    FLDID statlin = fields.id("STATLIN");
    if (statlin != BADFLDID &&
        (request.flavour == tp::Flavour::Fml || request.flavour == tp::Flavour::Fml32)) {
        std::string stored = text::toCp949(statlinUtf8);
        stored.push_back('\0');
        std::string entry(tp::fb::kEntryHeaderSize, '\0');
        for (int i = 0; i < 4; ++i) {
            entry[i] = static_cast<char>((statlin >> (8 * i)) & 0xFF);
            entry[4 + i] = static_cast<char>((stored.size() >> (8 * i)) & 0xFF);
        }
        out.flavour = request.flavour;
        out.data = entry + stored;
    }
    send(std::move(out));
}

void Session::sendUnsolicited(tp::Flavour flavour, std::string data)
{
    asio::dispatch(m_strand, [self = shared_from_this(), flavour, data = std::move(data)]() mutable {
        tp::Frame out;
        out.kind = tp::FrameKind::Unsol;
        out.flavour = flavour;
        out.data = std::move(data);
        self->send(std::move(out));
    });
}

void Session::send(tp::Frame frame) { sendEncoded(tp::encodeFrame(frame)); }

void Session::sendEncoded(std::string bytes)
{
    if (m_closed)
        return;
    if (m_tls) {
        // Nothing but the handshake goes to a workstation not yet admitted.
        if (m_tls->state() != tp::tls::TlsChannel::State::Open)
            return;
        if (!m_tls->send(bytes)) {
            close("TLS failed: " + m_tls->failure());
            return;
        }
        bytes = m_tls->takeOutput();
    }
    queueWire(std::move(bytes));
}

void Session::queueWire(std::string bytes)
{
    if (m_closed || bytes.empty())
        return;
    m_outbox.push_back(std::move(bytes));
    // A reply as a rule fits the socket's buffer: written here, without a round through
    // the event loop. Whoever sent it goes on with the input itself.
    if (!m_writing)
        flush(false);
}

void Session::flush(bool resumeInput)
{
    if (!writeNow())
        return;
    if (!m_outbox.empty()) {
        waitWritable();
        return;
    }
    m_writing = false;
    if (m_closeAfterWrite && !m_pendingBegin && !m_auditPending)
        drainThenClose();
    else if (resumeInput)
        processInput(); // replies drained: read and handle what waits
}

bool Session::writeNow()
{
    while (!m_outbox.empty()) {
        const std::string &front = m_outbox.front();
        asio::error_code ec;
        const std::size_t n = m_socket.write_some(asio::buffer(front.data() + m_written, front.size() - m_written), ec);
        if (ec == asio::error::would_block || ec == asio::error::try_again)
            return true;
        if (ec) {
            close("sending failed: " + ec.message());
            return false;
        }
        m_lastWrite = Clock::now();
        m_written += n;
        if (m_written == front.size()) {
            m_outbox.pop_front();
            m_written = 0;
        }
    }
    return true;
}

void Session::waitWritable()
{
    if (!m_writing)
        m_lastWrite = Clock::now();
    m_writing = true;
    updateDeadline();
    m_socket.async_wait(asio::socket_base::wait_write,
                        asio::bind_executor(m_strand, [self = shared_from_this()](const asio::error_code &ec) {
                            if (self->m_closed)
                                return;
                            if (ec)
                                self->close("sending failed: " + ec.message());
                            else
                                self->flush(true);
                        }));
}

} // namespace medrec::server
