#include "Server.h"

#include "Cp949.h"
#include "ServerState.h"
#include "Session.h"
#include "codec/FieldBuffer.h"
#include "system/DescriptorLimit.h"

#include <sqlite3.h>

#include <algorithm>

namespace medrec::server {

namespace {

// Room for the log, the listening socket, the database files of the pooled connections
// (each with its journal and shared memory) and what the libraries open.
constexpr std::size_t kReservedDescriptors = 48;
constexpr std::size_t kDescriptorsPerThread = 6;
// Connections kept open only long enough to tell them they are refused.
constexpr std::size_t kMaxRefusing = 16;
// Refused connections read until they close, so that they read their refusal.
constexpr std::size_t kMaxRefusedDraining = 64;
constexpr auto kLongestAcceptDelay = std::chrono::milliseconds(1000);

void accept(const std::shared_ptr<ServerState> &state);

std::vector<std::unique_ptr<asio::io_context>> makeLoops(unsigned threads)
{
    std::vector<std::unique_ptr<asio::io_context>> loops;
    for (unsigned i = 0; i < std::max(threads, 1u); ++i)
        loops.push_back(std::make_unique<asio::io_context>(1)); // run by one thread only
    return loops;
}

// After a failed accept (out of descriptors, memory) wait before the next try, longer each
// time, instead of spinning on the same failure.
void acceptLater(const std::shared_ptr<ServerState> &state)
{
    state->acceptDelay = std::clamp(state->acceptDelay * 2, std::chrono::milliseconds(25), kLongestAcceptDelay);
    state->acceptBackoff.expires_after(state->acceptDelay);
    state->acceptBackoff.async_wait([state](const asio::error_code &ec) {
        if (!ec && state->acceptor.is_open())
            accept(state);
    });
}

// Ends a connection that has not joined, to make room for a newer one. Called with
// sessionsMutex held; the session ends on its own strand.
void giveWay(const std::shared_ptr<ServerState> &state, std::uint64_t id, const char *why)
{
    auto it = state->sessions.find(id);
    if (it == state->sessions.end())
        return;
    if (auto session = it->second.lock()) {
        state->leaving.insert(id);
        session->giveWay(why);
    }
}

void admit(const std::shared_ptr<ServerState> &state, asio::io_context &loop, asio::ip::tcp::socket socket)
{
    bool refuse = false;
    const std::uint64_t id = state->nextSessionId++;
    {
        std::lock_guard lock(state->sessionsMutex);
        // Connections that never join must not keep workstations out: the oldest of them
        // gives way when their budget is spent, or when every session is taken.
        if (!state->unjoined.empty() && state->unjoined.size() >= state->maxUnjoined) {
            const std::uint64_t oldest = *state->unjoined.begin();
            state->unjoined.erase(state->unjoined.begin());
            giveWay(state, oldest, "gave way to a newer connection: too many connections that have not joined");
        }
        if (state->occupied() >= state->maxSessions && !state->unjoined.empty()) {
            const std::uint64_t oldest = *state->unjoined.begin();
            state->unjoined.erase(state->unjoined.begin());
            giveWay(state, oldest, "gave way to a newer connection: every session is taken");
        }
        if (state->occupied() >= state->maxSessions) {
            if (state->refusing >= kMaxRefusing) {
                asio::error_code ignored;
                socket.close(ignored);
                state->logLine("connection refused: " + std::to_string(state->maxSessions) + " sessions open");
                return;
            }
            ++state->refusing;
            refuse = true;
        }
    }
    auto session =
        std::make_shared<Session>(std::move(socket), loop, state, id, refuse, state->currentTls());
    {
        std::lock_guard lock(state->sessionsMutex);
        state->sessions[id] = session;
        if (!refuse)
            state->unjoined.insert(id);
    }
    session->start();
}

void accept(const std::shared_ptr<ServerState> &state)
{
    asio::io_context &loop = state->loopForNextSession();
    state->acceptor.async_accept(loop, [state, &loop](const asio::error_code &ec, asio::ip::tcp::socket socket) {
        if (ec == asio::error::operation_aborted || !state->acceptor.is_open())
            return;
        if (ec == asio::error::connection_aborted) {
            accept(state); // the client gave up before it was accepted
            return;
        }
        if (ec) {
            state->logLine(std::string("accept failed: ") + ec.message());
            acceptLater(state);
            return;
        }
        state->acceptDelay = std::chrono::milliseconds(0);
        admit(state, loop, std::move(socket));
        accept(state);
    });
}

} // namespace

std::size_t defaultMaxSessions(unsigned threads)
{
    const auto limit = platform::openDescriptorLimit();
    if (!limit)
        return kDefaultMaxSessions;
    const std::size_t reserved = kReservedDescriptors + kDescriptorsPerThread * threads;
    const std::size_t available = *limit > reserved ? static_cast<std::size_t>(*limit - reserved) : 1;
    return std::min(available, kDefaultMaxSessions);
}

ServerState::ServerState(ServerOptions o, ServiceRegistry r)
    : options(std::move(o)), registry(std::move(r)),
      pool(options.databasePath, options.busyTimeout, options.threads + 2), loops(makeLoops(options.threads))
{
    for (auto &loop : loops)
        keepRunning.push_back(asio::make_work_guard(*loop));
}

asio::io_context &ServerState::loopForNextSession() { return *loops[nextLoop++ % loops.size()]; }

bool parseLogLevel(std::string_view text, LogLevel *level)
{
    static constexpr std::pair<std::string_view, LogLevel> kLevels[] = {
        {"error", LogLevel::Error}, {"warning", LogLevel::Warning}, {"info", LogLevel::Info}, {"debug", LogLevel::Debug}};
    for (const auto &[name, value] : kLevels)
        if (text == name) {
            *level = value;
            return true;
        }
    return false;
}

void ServerState::logLine(const std::string &line, LogLevel level)
{
    if (!logs(level))
        return;
    static constexpr const char *kNames[] = {"error", "warning", "info", "debug"};
    std::lock_guard lock(logMutex);
    const auto now = std::chrono::steady_clock::now();
    if (line == lastLogLine && now - lastLogWritten < std::chrono::seconds(1)) {
        ++logRepeats;
        return;
    }
    if (logRepeats > 0)
        *options.log << "medrec-server: (the last line " << logRepeats << " more times)\n";
    *options.log << "medrec-server: " << kNames[static_cast<int>(level)] << ": " << line << std::endl;
    lastLogLine = line;
    lastLogWritten = now;
    logRepeats = 0;
}

void ServerState::sessionJoined(std::uint64_t id)
{
    std::lock_guard lock(sessionsMutex);
    unjoined.erase(id);
}

std::shared_ptr<const tp::tls::TlsContext> ServerState::currentTls()
{
    std::lock_guard lock(tlsMutex);
    const auto now = std::chrono::steady_clock::now();
    if (!tls || now - tlsChecked < std::chrono::seconds(1))
        return tls;
    tlsChecked = now;
    if (!tls->filesChanged())
        return tls;
    std::string why;
    auto fresh = tp::tls::TlsContext::load(tp::tls::TlsContext::Role::Server, tls->files(), &why);
    if (!fresh) {
        logLine("TLS files changed but cannot be loaded, keeping the ones loaded before: " + why, LogLevel::Error);
        return tls;
    }
    tls = std::move(fresh);
    logLine("TLS certificates and revocation list loaded again", LogLevel::Info);
    return tls;
}

bool ServerState::refusalSent()
{
    std::lock_guard lock(sessionsMutex);
    --refusing;
    if (refusedDraining >= kMaxRefusedDraining)
        return false;
    ++refusedDraining;
    return true;
}

void ServerState::sessionClosed(std::uint64_t id, bool wasRefusing, bool wasDraining)
{
    std::lock_guard lock(sessionsMutex);
    sessions.erase(id);
    unjoined.erase(id);
    leaving.erase(id);
    if (wasRefusing)
        --refusing;
    if (wasDraining)
        --refusedDraining;
}

std::shared_ptr<Session> ServerState::findSession(std::uint64_t id) const
{
    std::lock_guard lock(sessionsMutex);
    auto it = sessions.find(id);
    return it == sessions.end() ? nullptr : it->second.lock();
}

bool ServerState::notify(std::uint64_t sessionId, std::string cp949Text)
{
    // The client holds a notice in a STRING buffer with its terminating zero; a longer one
    // would be refused as a malformed frame and end the session.
    if (cp949Text.size() >= tp::kStringMaxSize)
        return false;
    auto session = findSession(sessionId);
    if (!session)
        return false;
    session->sendUnsolicited(tp::Flavour::String, std::move(cp949Text));
    return true;
}

Server::Server(ServerOptions options, ServiceRegistry registry)
    : m_state(std::make_shared<ServerState>(std::move(options), std::move(registry)))
{
}

Server::~Server() { stop(); }

bool Server::start(std::string *error)
{
    auto &s = *m_state;
    if (!s.options.fields) {
        if (error)
            *error = "no field table";
        return false;
    }
    {
        std::string why;
        sqlite3 *db = openDatabase(s.options.databasePath, s.options.busyTimeout, &why);
        if (!db) {
            if (error)
                *error = why;
            return false;
        }
        bool ok = !s.options.prepareDatabase || s.options.prepareDatabase(db, &why);
        sqlite3_close_v2(db);
        if (!ok) {
            if (error)
                *error = "database set-up failed: " + why;
            return false;
        }
    }
    {
        std::string why;
        s.audit = AccessAudit::open(
            s.options.databasePath, s.options.busyTimeout,
            [state = m_state.get()](const std::string &line) { state->logLine(line, LogLevel::Error); }, &why);
        if (!s.audit) {
            if (error)
                *error = why;
            return false;
        }
    }
    asio::error_code ec;
    auto address = asio::ip::make_address(s.options.host, ec);
    if (ec) {
        if (error)
            *error = "bad listen address " + s.options.host + ": " + ec.message();
        return false;
    }
    if (s.options.tls.enabled()) {
        std::string why;
        s.tls = tp::tls::TlsContext::load(tp::tls::TlsContext::Role::Server, s.options.tls, &why);
        if (!s.tls) {
            if (error)
                *error = why;
            return false;
        }
    } else if (!address.is_loopback() && !s.options.insecurePlainTcp) {
        if (error)
            *error = "will not serve plain TCP on " + s.options.host +
                     ", where the network could read the patients' data: give --tls-cert, --tls-key and --tls-ca "
                     "(or --insecure-plain-tcp to serve it unencrypted anyway)";
        return false;
    }
    asio::ip::tcp::endpoint endpoint(address, s.options.port);
    s.acceptor.open(endpoint.protocol(), ec);
    if (!ec)
        s.acceptor.set_option(asio::ip::tcp::acceptor::reuse_address(true), ec);
    if (!ec)
        s.acceptor.bind(endpoint, ec);
    if (!ec)
        s.acceptor.listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        if (error)
            *error = "cannot listen on " + s.options.host + ":" + std::to_string(s.options.port) + ": " +
                     ec.message();
        s.acceptor.close(ec);
        return false;
    }
    s.maxSessions = s.options.maxSessions ? s.options.maxSessions : defaultMaxSessions(s.options.threads);
    s.maxUnjoined = s.options.maxUnjoined ? s.options.maxUnjoined : std::max<std::size_t>(4, s.maxSessions / 8);
    accept(m_state);
    const std::size_t n = s.loops.size();
    for (std::size_t i = 0; i < n; ++i)
        s.threads.emplace_back([state = m_state, i] { state->loops[i]->run(); });
    s.logLine("serving " + s.options.databasePath + " on " + s.options.host + ":" + std::to_string(port()) + " with " +
                  std::to_string(n) + " threads, " +
                  (s.tls ? "TLS 1.3 for workstations with a certificate of " + s.options.tls.ca : std::string("plain TCP")),
              LogLevel::Info);
    return true;
}

void Server::stop()
{
    auto &s = *m_state;
    if (s.threads.empty() || s.stopping.exchange(true))
        return;
    asio::post(*s.loops.front(), [state = m_state] {
        asio::error_code ignored;
        state->acceptor.close(ignored);
        state->acceptBackoff.cancel();
        state->acceptorClosed = true;
        std::vector<std::shared_ptr<Session>> open;
        {
            std::lock_guard lock(state->sessionsMutex);
            for (auto &[id, weak] : state->sessions)
                if (auto session = weak.lock())
                    open.push_back(session);
        }
        for (auto &session : open)
            session->shutdown();
    });
    // Let the sessions finish closing (their handlers run on the pool), then stop.
    for (int i = 0; i < 200; ++i) {
        {
            std::lock_guard lock(s.sessionsMutex);
            if (s.sessions.empty() && s.acceptorClosed)
                break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    s.keepRunning.clear();
    for (auto &loop : s.loops)
        loop->stop();
    for (auto &t : s.threads)
        t.join();
    s.threads.clear();
    // Its last rows are written; their replies are posted to the loops drained below.
    s.audit.reset();
    // The cancelled operations still hold their sessions (and through them this state):
    // let them finish so nothing is left behind.
    for (auto &loop : s.loops) {
        loop->restart();
        loop->run_for(std::chrono::seconds(1));
    }
    s.pool.closeIdle();
    s.logLine("stopped; database " + s.options.databasePath + " closed", LogLevel::Info);
}

void Server::log(LogLevel level, const std::string &line) { m_state->logLine(line, level); }

std::size_t Server::maxSessions() const { return m_state->maxSessions; }

std::size_t Server::maxUnjoined() const { return m_state->maxUnjoined; }

bool Server::servesTls() const
{
    std::lock_guard lock(m_state->tlsMutex);
    return m_state->tls != nullptr;
}

unsigned short Server::port() const
{
    asio::error_code ec;
    auto endpoint = m_state->acceptor.local_endpoint(ec);
    return ec ? 0 : endpoint.port();
}

const std::string &Server::host() const { return m_state->options.host; }

std::vector<SessionInfo> Server::sessions() const
{
    std::vector<std::shared_ptr<Session>> open;
    {
        std::lock_guard lock(m_state->sessionsMutex);
        for (auto &[id, weak] : m_state->sessions)
            if (auto session = weak.lock())
                open.push_back(session);
    }
    std::vector<SessionInfo> out;
    for (auto &session : open)
        out.push_back(session->info());
    return out;
}

bool Server::sendUnsolicited(std::uint64_t sessionId, std::string_view utf8)
{
    return m_state->notify(sessionId, text::toCp949(utf8));
}

bool Server::sendUnsolicitedRaw(std::uint64_t sessionId, tp::Flavour flavour, std::string bytes)
{
    if (bytes.size() > tp::flavourMaxSize(flavour))
        return false;
    if ((flavour == tp::Flavour::Fml || flavour == tp::Flavour::Fml32) &&
        (!tp::fb::validateEntries(bytes, nullptr) || bytes.size() + tp::fb::kHeaderSize > tp::flavourMaxSize(flavour)))
        return false;
    if (flavour == tp::Flavour::None)
        return false;
    auto session = m_state->findSession(sessionId);
    if (!session)
        return false;
    session->sendUnsolicited(flavour, std::move(bytes));
    return true;
}

} // namespace medrec::server
