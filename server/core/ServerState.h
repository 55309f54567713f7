#pragma once

// What the sessions of a server share (internal to the server core).

#include "AccessAudit.h"
#include "Database.h"
#include "Server.h"
#include "codec/FieldTable.h"

#include <asio.hpp>

#include <atomic>
#include <map>
#include <set>
#include <mutex>
#include <thread>

namespace medrec::server {

class Session;

struct ServerState : SessionNotifier
{
    ServerState(ServerOptions o, ServiceRegistry r);
    // The audit's writer logs through this state: it stops first.
    ~ServerState() { audit.reset(); }

    // The loop a new session goes to (in turn).
    asio::io_context &loopForNextSession();

    ServerOptions options;
    ServiceRegistry registry;
    ConnectionPool pool;
    std::unique_ptr<AccessAudit> audit; // opened by start()
    // One event loop per worker thread. A session stays on the loop it was accepted onto,
    // so its bytes, its handler and its reply are all dealt with on the thread that saw the
    // bytes arrive: no hand-off between threads on the way, which would cost more than the
    // call itself. The first loop also runs the acceptor.
    std::vector<std::unique_ptr<asio::io_context>> loops;
    std::vector<asio::executor_work_guard<asio::io_context::executor_type>> keepRunning;
    std::atomic<std::size_t> nextLoop{0};
    asio::ip::tcp::acceptor acceptor{*loops.front()};
    std::vector<std::thread> threads;

    mutable std::mutex sessionsMutex;
    std::map<std::uint64_t, std::weak_ptr<Session>> sessions;
    std::atomic<std::uint64_t> nextSessionId{1};
    std::atomic<std::uint32_t> nextTransactionId{1};
    std::atomic<bool> stopping{false};
    std::atomic<bool> acceptorClosed{false};

    // Connections answered only to be refused (over maxSessions); a few at most.
    std::size_t refusing = 0; // guarded by sessionsMutex
    // Connections that have not joined, oldest first (guarded by sessionsMutex).
    std::set<std::uint64_t> unjoined;
    // Connections told to give way, still closing (guarded by sessionsMutex).
    std::set<std::uint64_t> leaving;
    // Sessions that count against maxSessions (sessionsMutex held).
    std::size_t occupied() const { return sessions.size() - refusing - refusedDraining - leaving.size(); }
    // Refused connections that have their refusal and are read until they close (guarded
    // by sessionsMutex); a few dozen at most, each for a short while.
    std::size_t refusedDraining = 0;
    // A refused connection has sent its refusal: it no longer holds a place among the few
    // refusing at once. False when too many drain already (it then closes at once).
    bool refusalSent();
    std::size_t maxSessions = 0;
    std::size_t maxUnjoined = 0;
    // A session joined: it leaves the budget of connections that have not.
    void sessionJoined(std::uint64_t id);

    // The TLS context new connections use and open sessions are checked against (null:
    // plain TCP); loaded again when its files changed (a new revocation list), checked at
    // most once a second.
    std::shared_ptr<const tp::tls::TlsContext> currentTls();
    std::mutex tlsMutex;
    std::shared_ptr<const tp::tls::TlsContext> tls; // guarded by tlsMutex
    std::chrono::steady_clock::time_point tlsChecked;
    asio::steady_timer acceptBackoff{*loops.front()};
    std::chrono::milliseconds acceptDelay{0};

    std::mutex logMutex;
    std::string lastLogLine;
    std::chrono::steady_clock::time_point lastLogWritten;
    std::size_t logRepeats = 0;
    void logLine(const std::string &line, LogLevel level = LogLevel::Warning);
    bool logs(LogLevel level) const { return options.log && level <= options.logLevel; }
    // A refused connection is closed; a session in refusing mode ends.
    void sessionClosed(std::uint64_t id, bool wasRefusing, bool wasDraining);

    std::shared_ptr<Session> findSession(std::uint64_t id) const;
    bool notify(std::uint64_t sessionId, std::string cp949Text) override;
};

} // namespace medrec::server
