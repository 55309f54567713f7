#pragma once

// What the sessions of a server share (internal to the server core).

#include "Database.h"
#include "Server.h"
#include "codec/FieldTable.h"

#include <asio.hpp>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

namespace medrec::server {

class Session;

// Most a session reads at once; a frame's body is read as it arrives, never allocated up
// front.
inline constexpr std::size_t kReadChunk = 64 * 1024;

// One event loop and the thread-free scratch space of the sessions it runs: they run one
// at a time, so they share one buffer to read into.
struct EventLoop
{
    asio::io_context context{1}; // run by one thread only
    std::unique_ptr<char[]> readBuffer{new char[kReadChunk]};
};

struct ServerState : SessionNotifier
{
    ServerState(ServerOptions o, ServiceRegistry r);

    // The loop a new session goes to (in turn).
    EventLoop &loopForNextSession();

    ServerOptions options;
    ServiceRegistry registry;
    ConnectionPool pool;
    // One event loop per worker thread. A session stays on the loop it was accepted onto,
    // so its bytes, its handler and its reply are all dealt with on the thread that saw the
    // bytes arrive: no hand-off between threads on the way, which would cost more than the
    // call itself. The first loop also runs the acceptor.
    std::vector<std::unique_ptr<EventLoop>> loops;
    std::vector<asio::executor_work_guard<asio::io_context::executor_type>> keepRunning;
    std::atomic<std::size_t> nextLoop{0};
    asio::ip::tcp::acceptor acceptor{loops.front()->context};
    std::vector<std::thread> threads;

    mutable std::mutex sessionsMutex;
    std::map<std::uint64_t, std::weak_ptr<Session>> sessions;
    std::atomic<std::uint64_t> nextSessionId{1};
    std::atomic<std::uint32_t> nextTransactionId{1};
    std::atomic<bool> stopping{false};
    std::atomic<bool> acceptorClosed{false};

    // Connections answered only to be refused (over maxSessions); a few at most.
    std::size_t refusing = 0; // guarded by sessionsMutex
    std::size_t maxSessions = 0;
    asio::steady_timer acceptBackoff{loops.front()->context};
    std::chrono::milliseconds acceptDelay{0};

    std::mutex logMutex;
    std::string lastLogLine;
    std::chrono::steady_clock::time_point lastLogWritten;
    std::size_t logRepeats = 0;
    void logLine(const std::string &line, LogLevel level = LogLevel::Warning);
    bool logs(LogLevel level) const { return options.log && level <= options.logLevel; }
    // A refused connection is closed; a session in refusing mode ends.
    void sessionClosed(std::uint64_t id, bool wasRefusing);

    std::shared_ptr<Session> findSession(std::uint64_t id) const;
    bool notify(std::uint64_t sessionId, std::string cp949Text) override;
};

} // namespace medrec::server
