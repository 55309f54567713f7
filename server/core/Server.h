#pragma once

// The service host: accepts workstation connections, keeps one session per connection,
// and dispatches calls to the registered handlers.
//
// Threads: start() runs the network on `threads` worker threads; the calls of one session
// run one after the other (a strand per session), those of different sessions at once.
// A malformed frame, a lost connection or a Term ends that session only; its open
// transaction is rolled back. stop() (or the destructor) closes every session and joins
// the threads.
//
// Transactions: Begin takes a pooled connection and runs BEGIN IMMEDIATE on it; calls
// inside the transaction use that connection; Commit runs COMMIT. A transaction still
// open when its time-out passes is rolled back at once (releasing the write lock) and
// its Commit then fails with TPETIME.

#include "ServiceRegistry.h"
#include "codec/Limits.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::server {

// How much the server logs: errors, also warnings (failed calls, lost sessions), also info
// (start and stop, one line per session start and end), also debug (every call).
enum class LogLevel { Error, Warning, Info, Debug };

// "error", "warning", "info" or "debug"; false when the text is none of them.
bool parseLogLevel(std::string_view text, LogLevel *level);

struct ServerOptions
{
    std::string databasePath;
    std::string host = "127.0.0.1";
    unsigned short port = 0; // 0: an ephemeral port, see Server::port()
    std::shared_ptr<const tp::FieldTable> fields;
    unsigned threads = 4;
    std::chrono::milliseconds busyTimeout{5000};
    // tpbegin(0, 0) gets the default; longer requests are cut to the maximum.
    std::chrono::seconds defaultTransactionTimeout{30};
    std::chrono::seconds maxTransactionTimeout{600};
    // Called once by start() on its own connection, before any session (schema set-up).
    std::function<bool(sqlite3 *, std::string *error)> prepareDatabase;
    // Where events are logged, one line each, up to logLevel; null: nowhere.
    std::ostream *log = nullptr;
    LogLevel logLevel = LogLevel::Info;
};

struct SessionInfo
{
    std::uint64_t id;
    std::string user;   // UTF-8
    std::string client; // UTF-8
    std::string peer;   // address:port
    bool joined;        // tpinit done
    bool inTransaction;
};

struct ServerState;

class Server
{
public:
    Server(ServerOptions options, ServiceRegistry registry);
    ~Server();
    Server(const Server &) = delete;
    Server &operator=(const Server &) = delete;

    // Opens the database, binds and starts serving. False with *error on failure.
    bool start(std::string *error);
    // Closes every session (rolling back its open transaction), stops the threads and
    // closes the database; logs each rollback and the end.
    void stop();

    // Writes one line to the log when the level is logged (any thread).
    void log(LogLevel level, const std::string &line);

    // The port bound (after start()).
    unsigned short port() const;
    const std::string &host() const;

    // The connected sessions at this moment.
    std::vector<SessionInfo> sessions() const;

    // Sends an unsolicited message (UTF-8 text, delivered as a CP949 "STRING" buffer) to a
    // session; false when it is gone. Any thread.
    bool sendUnsolicited(std::uint64_t sessionId, std::string_view utf8);
    // The same with raw bytes in the given flavour: STRING text, or FML/FML32 field
    // entries (validated; false when malformed or too large).
    bool sendUnsolicitedRaw(std::uint64_t sessionId, tp::Flavour flavour, std::string bytes);

private:
    std::shared_ptr<ServerState> m_state;
};

} // namespace medrec::server
