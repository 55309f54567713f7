#pragma once

// The service host: accepts workstation connections, keeps one session per connection,
// and dispatches calls to the registered handlers.
//
// Threads: start() runs `threads` worker threads, each with an event loop of its own; a new
// session goes to the loops in turn and stays on its loop. The calls of one session run
// one after the other, those of sessions on different loops at once (a long call delays
// only the sessions of its own loop).
// A malformed frame, a lost connection or a Term ends that session only; its open
// transaction is rolled back. stop() (or the destructor) closes every session and joins
// the threads.
//
// Transactions: Begin takes a pooled connection and runs BEGIN IMMEDIATE on it; calls
// inside the transaction use that connection; Commit runs COMMIT. A transaction still
// open when its time-out passes is rolled back at once (releasing the write lock) and
// its Commit then fails with TPETIME. A call that fails inside a transaction makes it
// rollback-only: rolled back at once, later calls in it fail with TPETRAN and its Commit
// with TPEABORT, so a retried write can never be stored twice.
//
// Transport: TLS 1.3 when options.tls names the files; then only workstations whose
// certificate the site's CA signed (and did not revoke) get past the handshake, before any
// frame is read, and the certificate's subject is the session's workstation identity.
// Plain TCP is served on loopback addresses only, unless insecurePlainTcp says otherwise.
//
// Hostile or broken clients: at most maxSessions connections are served (one more is
// refused with TPELIMIT on its Init, and the refusal is read: the host takes the client's
// bytes until it closes rather than resetting the connection); connections that have not
// joined have a budget of their own (maxUnjoined; the oldest gives way to a new one, and
// to a new connection when all sessions are taken); a connection must join within
// initTimeout; a frame
// that stops half-way in either direction is given up after stallTimeout; a session
// holds at most a few unanswered requests (reading from it stops until its replies
// drain); what is queued for a client is sent before its connection is closed.

#include "ServiceRegistry.h"
#include "system/Socket.h"
#include "codec/Limits.h"
#include "tls/TlsContext.h"

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
    // Where events are logged, one line each, up to logLevel; null: nowhere. The same line
    // repeated within a second is counted rather than written again.
    std::ostream *log = nullptr;
    LogLevel logLevel = LogLevel::Info;
    // Connections served at once, joined or not; 0: as many as the descriptor limit
    // leaves room for, at most kDefaultMaxSessions.
    std::size_t maxSessions = 0;
    // A new connection must have sent its Init within this time.
    std::chrono::milliseconds initTimeout{5000};
    // A frame once begun must keep moving: no byte of it for this long closes the
    // connection (also a reply the client does not read).
    std::chrono::milliseconds stallTimeout{10000};
    // A joined session with no request for this long is closed, its transaction rolled
    // back; 0: never.
    std::chrono::seconds idleTimeout{0};
    platform::KeepAlive keepAlive;
    // The site's certificates; none: plain TCP.
    tp::tls::TlsFiles tls;
    // Serve plain TCP on an address other than loopback (anyone on the network reads the
    // patients' data).
    bool insecurePlainTcp = false;
    // Connections that have not joined yet, at most; 0: an eighth of maxSessions (at least 4).
    std::size_t maxUnjoined = 0;
    // Rows beyond one reply go in further replies to a client that asks for them
    // ("L_ROWFROM"); false answers every call in one reply or refuses it, as a service host
    // that never continues.
    bool continueRows = true;
};

inline constexpr std::size_t kDefaultMaxSessions = 1000;

// The sessions the descriptor limit leaves room for, after what the server itself needs
// (database files, threads, the log); at most kDefaultMaxSessions.
std::size_t defaultMaxSessions(unsigned threads);

struct SessionInfo
{
    std::uint64_t id;
    std::string user;   // UTF-8
    std::string client; // UTF-8
    std::string peer;   // address:port
    std::string workstation; // the certificate's subject; empty on plain TCP
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


    // The most connections served at once (after start()).
    std::size_t maxSessions() const;
    // The most connections that have not joined (after start()).
    std::size_t maxUnjoined() const;
    bool servesTls() const;
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
