#include "Session.h"

#include "Cp949.h"
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

} // namespace

Session::Session(asio::ip::tcp::socket socket, std::shared_ptr<ServerState> state, std::uint64_t id)
    : m_socket(std::move(socket)), m_strand(asio::make_strand(state->io)), m_timer(m_strand),
      m_beginTimer(m_strand), m_state(std::move(state)), m_id(id)
{
    asio::error_code ec;
    auto remote = m_socket.remote_endpoint(ec);
    m_peer = ec ? std::string("?") : remote.address().to_string() + ":" + std::to_string(remote.port());
    m_socket.set_option(asio::ip::tcp::no_delay(true), ec);
}

Session::~Session()
{
    // The transaction's connection goes back to the pool, which rolls it back.
    m_transaction.reset();
}

void Session::start()
{
    asio::dispatch(m_strand, [self = shared_from_this()] { self->readPrefix(); });
}

SessionInfo Session::info() const
{
    std::lock_guard lock(m_infoMutex);
    return SessionInfo{m_id, m_user, m_client, m_peer, m_joined, m_transaction.has_value() && !m_transaction->expired};
}

void Session::shutdown()
{
    asio::dispatch(m_strand, [self = shared_from_this()] { self->close("server stopping"); });
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
    if (m_transaction && !m_transaction->expired)
        m_state->logLine("session " + std::to_string(m_id) + " (" + m_peer + "): transaction " +
                         std::to_string(m_transaction->id) + " rolled back: " + why);
    {
        std::lock_guard lock(m_infoMutex);
        m_transaction.reset(); // rolls back
    }
    m_timer.cancel();
    m_beginTimer.cancel();
    m_pendingBegin.reset();
    asio::error_code ignored;
    m_socket.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    m_socket.close(ignored);
    std::lock_guard lock(m_state->sessionsMutex);
    m_state->sessions.erase(m_id);
}

void Session::readPrefix()
{
    if (m_closed)
        return;
    asio::async_read(m_socket, asio::buffer(m_prefix),
                     asio::bind_executor(m_strand, [self = shared_from_this()](const asio::error_code &ec,
                                                                               std::size_t) {
                         if (self->m_closed)
                             return;
                         if (ec) {
                             self->close(ec == asio::error::eof ? "client closed the connection" : ec.message());
                             return;
                         }
                         std::string why;
                         auto length = tp::decodeLengthPrefix(std::string_view(self->m_prefix, 4), &why);
                         if (!length) {
                             self->m_state->logLine("session " + std::to_string(self->m_id) + " (" +
                                                    self->m_peer + "): bad frame: " + why);
                             self->close("bad frame");
                             return;
                         }
                         self->readBody(*length);
                     }));
}

void Session::readBody(std::size_t length)
{
    m_body.assign(length, '\0');
    asio::async_read(m_socket, asio::buffer(m_body),
                     asio::bind_executor(m_strand, [self = shared_from_this()](const asio::error_code &ec,
                                                                               std::size_t) {
                         if (self->m_closed)
                             return;
                         if (ec) {
                             self->close("connection lost inside a frame: " + ec.message());
                             return;
                         }
                         std::string why;
                         auto frame = tp::decodeFrame(self->m_body, &why);
                         self->m_body.clear();
                         if (!frame) {
                             self->m_state->logLine("session " + std::to_string(self->m_id) + " (" +
                                                    self->m_peer + "): bad frame: " + why);
                             self->close("bad frame");
                             return;
                         }
                         if (self->handle(std::move(*frame)))
                             self->readPrefix();
                     }));
}

bool Session::handle(tp::Frame frame)
{
    switch (frame.kind) {
    case tp::FrameKind::Init:
        handleInit(frame);
        return true;
    case tp::FrameKind::Term:
        m_closeAfterWrite = true;
        replyStatus(frame, 0, {});
        return true;
    case tp::FrameKind::Reply:
    case tp::FrameKind::Unsol:
        m_state->logLine("session " + std::to_string(m_id) + " (" + m_peer + "): server frame kind from a client");
        close("protocol error");
        return false;
    default:
        break;
    }
    if (!m_joined) {
        replyFailure(frame, TPEPROTO, "not joined: tpinit has not been called",
                     "세션이 시작되지 않았습니다. 먼저 접속(tpinit)하십시오.", -1);
        return true;
    }
    switch (frame.kind) {
    case tp::FrameKind::Call:
        handleCall(frame);
        return true;
    case tp::FrameKind::Begin:
        return handleBegin(frame);
    case tp::FrameKind::Commit:
        handleCommit(frame);
        return true;
    case tp::FrameKind::Abort:
        handleAbort(frame);
        return true;
    default:
        return true;
    }
}

void Session::handleInit(const tp::Frame &frame)
{
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
    {
        std::lock_guard lock(m_state->sessionsMutex);
        m_state->sessions[m_id] = weak_from_this();
    }
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

    sqlite3 *db = nullptr;
    bool inTransaction = false;
    ConnectionPool::Connection pooled(nullptr, ConnectionPool::Giver{&m_state->pool});
    if (!(frame.flags & TPNOTRAN) && frame.transaction != 0) {
        if (!m_transaction || m_transaction->id != frame.transaction) {
            replyFailure(frame, TPETRAN, "the call names a transaction that is not open",
                         "열려 있지 않은 트랜잭션 안의 호출입니다.", -1);
            return;
        }
        if (!m_transaction->expired && std::chrono::steady_clock::now() >= m_transaction->deadline)
            expire(m_transaction->id);
        if (m_transaction->expired) {
            replyFailure(frame, TPETIME,
                         "the transaction timed out after " + std::to_string(m_transaction->timeout.count()) +
                             " s and was rolled back",
                         "트랜잭션 제한 시간(" + std::to_string(m_transaction->timeout.count()) +
                             "초)이 지나 작업이 취소되었습니다.",
                         -1);
            return;
        }
        db = m_transaction->connection.get();
        inTransaction = true;
    } else {
        std::string why;
        pooled = m_state->pool.acquire(&why);
        if (!pooled) {
            replyFailure(frame, TPESYSTEM, "database unavailable", "데이터베이스에 연결할 수 없습니다: " + why, -1);
            return;
        }
        db = pooled.get();
    }

    std::unique_ptr<char[]> storage(new char[tp::fb::kHeaderSize + frame.data.size()]);
    auto *requestBuffer = reinterpret_cast<Fbfr *>(storage.get());
    tp::fb::init(requestBuffer, tp::fb::kHeaderSize + frame.data.size());
    tp::fb::assign(requestBuffer, frame.data); // validated by the decoder

    Identity identity;
    {
        std::lock_guard lock(m_infoMutex);
        identity.user = m_user;
        identity.client = m_client;
    }
    identity.logUser = fieldText(fields, requestBuffer, "LOG_USERNAME");
    identity.logClient = fieldText(fields, requestBuffer, "LOG_CLTNAME");
    identity.logForm = fieldText(fields, requestBuffer, "LOG_FORMNAME");

    Request request(requestBuffer, fields);
    auto reply = std::make_unique<Reply>(fields);
    ServiceContext ctx(frame.name, request, *reply, std::move(identity), db, inTransaction, m_id, m_state.get());
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

    std::size_t limit = tp::flavourMaxSize(frame.flavour);
    if (!reply->overflowed() && fields.id("STATLIN") != BADFLDID) {
        if (!ctx.status().empty() || reply->count("STATLIN") == 0)
            reply->setText("STATLIN", 0, ctx.status());
    }
    if (reply->overflowed() || reply->usedBytes() > limit) {
        std::string size = reply->overflowed() ? "more than " + tp::withThousands(tp::kFml32MaxSize)
                                               : tp::withThousands(reply->usedBytes());
        std::string sizeKo = reply->overflowed() ? tp::withThousands(tp::kFml32MaxSize) + "바이트 이상"
                                                 : tp::withThousands(reply->usedBytes()) + "바이트";
        replyFailure(frame, TPELIMIT,
                     "the reply of service " + frame.name + " (" + size + " bytes) exceeds the " +
                         tp::withThousands(limit) + "-byte limit of an " + tp::flavourName(frame.flavour) + " buffer",
                     "조회 결과가 너무 커서 보낼 수 없습니다: 응답 " + sizeKo + "가 " +
                         tp::flavourName(frame.flavour) + " 버퍼 한도 " + tp::withThousands(limit) +
                         "바이트를 넘습니다. 조회 범위를 줄여 다시 조회하십시오.",
                     -1);
        return;
    }

    tp::Frame out;
    out.kind = tp::FrameKind::Reply;
    out.sequence = frame.sequence;
    out.flavour = frame.flavour;
    out.transaction = frame.transaction;
    out.status = status;
    out.userCode = static_cast<std::int32_t>(ctx.userCode());
    out.name = detail.substr(0, tp::kMaxServiceName);
    out.data = std::string(tp::fb::entries(reply->buffer()));
    logOutcome(frame, status, status == 0 ? detail : detail + ": " + ctx.status());
    send(std::move(out));
}

bool Session::handleBegin(const tp::Frame &frame)
{
    if (m_transaction) {
        // A client begins only when it knows of no open transaction: this one was lost (its
        // tpbegin gave up waiting before the reply came), so it is rolled back rather than
        // left holding the write lock and refusing every later begin of the session.
        m_state->logLine("session " + std::to_string(m_id) + " (" + m_peer + "): transaction " +
                         std::to_string(m_transaction->id) + " the client lost is rolled back");
        endTransaction(false, nullptr);
    }
    const auto &o = m_state->options;
    std::chrono::seconds timeout = frame.arg == 0 ? o.defaultTransactionTimeout
                                                  : std::min(std::chrono::seconds(frame.arg), o.maxTransactionTimeout);
    std::string why;
    auto connection = m_state->pool.acquire(&why);
    if (!connection) {
        replyStatus(frame, TPESYSTEM, "database unavailable: " + why);
        return true;
    }
    // The lock is waited for as long as a statement would wait on a busy database.
    m_pendingBegin = PendingBegin{frame, std::move(connection), timeout,
                                  std::chrono::steady_clock::now() + o.busyTimeout};
    tryBegin();
    return false;
}

void Session::tryBegin()
{
    if (m_closed || !m_pendingBegin)
        return;
    PendingBegin &p = *m_pendingBegin;
    sqlite3 *db = p.connection.get();
    sqlite3_busy_timeout(db, 0);
    std::string why;
    const bool begun = execute(db, "BEGIN IMMEDIATE", &why);
    const bool busy = !begun && (sqlite3_errcode(db) & 0xff) == SQLITE_BUSY;
    sqlite3_busy_timeout(db, static_cast<int>(m_state->options.busyTimeout.count()));
    if (busy && std::chrono::steady_clock::now() + p.backoff < p.lockDeadline) {
        m_beginTimer.expires_after(p.backoff);
        p.backoff = std::min(p.backoff * 2, std::chrono::milliseconds(20));
        m_beginTimer.async_wait([self = shared_from_this()](const asio::error_code &ec) {
            if (!ec)
                self->tryBegin();
        });
        return;
    }
    PendingBegin done = std::move(p);
    m_pendingBegin.reset();
    if (!begun)
        replyStatus(done.frame, TPESYSTEM, "cannot begin the transaction: " + why);
    else
        openTransaction(done.frame, std::move(done.connection), done.timeout);
    readPrefix();
}

void Session::openTransaction(const tp::Frame &frame, ConnectionPool::Connection connection,
                              std::chrono::seconds timeout)
{
    Transaction t;
    t.id = m_state->nextTransactionId++;
    if (t.id == 0)
        t.id = m_state->nextTransactionId++;
    t.connection = std::move(connection);
    t.timeout = timeout;
    t.deadline = std::chrono::steady_clock::now() + timeout;
    std::uint32_t id = t.id;
    {
        std::lock_guard lock(m_infoMutex);
        m_transaction = std::move(t);
    }
    m_timer.expires_at(m_transaction->deadline);
    m_timer.async_wait([self = shared_from_this(), id](const asio::error_code &ec) {
        if (!ec)
            self->expire(id);
    });
    tp::Frame out;
    out.kind = tp::FrameKind::Reply;
    out.sequence = frame.sequence;
    out.transaction = id;
    send(std::move(out));
}

void Session::expire(std::uint32_t transactionId)
{
    if (!m_transaction || m_transaction->id != transactionId || m_transaction->expired)
        return;
    std::string why;
    execute(m_transaction->connection.get(), "ROLLBACK", &why);
    std::lock_guard lock(m_infoMutex);
    m_transaction->connection.reset();
    m_transaction->expired = true;
}

void Session::endTransaction(bool commit, std::string *error)
{
    m_timer.cancel();
    if (m_transaction && !m_transaction->expired && m_transaction->connection) {
        if (commit && !execute(m_transaction->connection.get(), "COMMIT", error))
            execute(m_transaction->connection.get(), "ROLLBACK", nullptr);
        else if (!commit)
            execute(m_transaction->connection.get(), "ROLLBACK", error);
    }
    std::lock_guard lock(m_infoMutex);
    m_transaction.reset();
}

void Session::handleCommit(const tp::Frame &frame)
{
    if (!m_transaction || m_transaction->id != frame.transaction) {
        replyStatus(frame, TPEPROTO, "no such transaction is open");
        return;
    }
    if (!m_transaction->expired && std::chrono::steady_clock::now() >= m_transaction->deadline)
        expire(m_transaction->id);
    if (m_transaction->expired) {
        std::string detail = "the transaction timed out after " + std::to_string(m_transaction->timeout.count()) +
                             " s and was rolled back";
        endTransaction(false, nullptr);
        replyStatus(frame, TPETIME, detail);
        return;
    }
    std::string why;
    endTransaction(true, &why);
    if (!why.empty()) {
        replyStatus(frame, TPEABORT, "commit failed and the transaction was rolled back: " + why);
        return;
    }
    replyStatus(frame, 0, {});
}

void Session::handleAbort(const tp::Frame &frame)
{
    if (!m_transaction || m_transaction->id != frame.transaction) {
        replyStatus(frame, TPEPROTO, "no such transaction is open");
        return;
    }
    endTransaction(false, nullptr);
    replyStatus(frame, 0, {});
}

std::string Session::logPrefix() const
{
    std::lock_guard lock(m_infoMutex);
    std::string prefix = "session " + std::to_string(m_id) + " (" + m_peer;
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

void Session::send(tp::Frame frame)
{
    if (m_closed)
        return;
    m_outbox.push_back(tp::encodeFrame(frame));
    if (!m_writing)
        writeNext();
}

void Session::writeNext()
{
    if (m_outbox.empty()) {
        m_writing = false;
        if (m_closeAfterWrite)
            close("client left");
        return;
    }
    m_writing = true;
    asio::async_write(m_socket, asio::buffer(m_outbox.front()),
                      asio::bind_executor(m_strand, [self = shared_from_this()](const asio::error_code &ec,
                                                                                std::size_t) {
                          if (self->m_closed)
                              return;
                          self->m_outbox.pop_front();
                          if (ec) {
                              self->close("sending failed: " + ec.message());
                              return;
                          }
                          self->writeNext();
                      }));
}

} // namespace medrec::server
