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

    std::mutex logMutex;
    void logLine(const std::string &line, LogLevel level = LogLevel::Warning);
    bool logs(LogLevel level) const { return options.log && level <= options.logLevel; }

    std::shared_ptr<Session> findSession(std::uint64_t id) const;
    bool notify(std::uint64_t sessionId, std::string cp949Text) override;
};

} // namespace medrec::server
