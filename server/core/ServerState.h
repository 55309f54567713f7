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

struct ServerState : SessionNotifier
{
    ServerState(ServerOptions o, ServiceRegistry r);

    ServerOptions options;
    ServiceRegistry registry;
    ConnectionPool pool;
    asio::io_context io;
    asio::ip::tcp::acceptor acceptor{io};
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
    asio::steady_timer acceptBackoff{io};
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
