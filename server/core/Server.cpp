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

void admit(const std::shared_ptr<ServerState> &state, asio::io_context &loop, asio::ip::tcp::socket socket)
{
    bool refuse = false;
    {
        std::lock_guard lock(state->sessionsMutex);
        if (state->sessions.size() - state->refusing >= state->maxSessions) {
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
    std::uint64_t id = state->nextSessionId++;
    auto session = std::make_shared<Session>(std::move(socket), loop, state, id, refuse);
    {
        std::lock_guard lock(state->sessionsMutex);
        state->sessions[id] = session;
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

void ServerState::sessionClosed(std::uint64_t id, bool wasRefusing)
{
    std::lock_guard lock(sessionsMutex);
    sessions.erase(id);
    if (wasRefusing)
        --refusing;
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
    asio::error_code ec;
    auto address = asio::ip::make_address(s.options.host, ec);
    if (ec) {
        if (error)
            *error = "bad listen address " + s.options.host + ": " + ec.message();
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
    accept(m_state);
    const std::size_t n = s.loops.size();
    for (std::size_t i = 0; i < n; ++i)
        s.threads.emplace_back([state = m_state, i] { state->loops[i]->run(); });
    s.logLine("serving " + s.options.databasePath + " on " + s.options.host + ":" + std::to_string(port()) + " with " +
                  std::to_string(n) + " threads",
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
