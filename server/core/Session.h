#pragma once

// One workstation connection (internal to the server core). Every member runs on the
// session's strand; post() and the public entry points may be called from any thread.

#include "Database.h"
#include "ServerState.h"
#include "codec/Frame.h"

#include <asio.hpp>

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace medrec::server {

class Session : public std::enable_shared_from_this<Session>
{
public:
    Session(asio::ip::tcp::socket socket, std::shared_ptr<ServerState> state, std::uint64_t id);
    ~Session();

    void start();
    // Queues an unsolicited frame; runs at once when called on the session's strand, so a
    // handler's notice goes out before its reply.
    void sendUnsolicited(tp::Flavour flavour, std::string data);
    // Ends the session from outside (server stop).
    void shutdown();
    SessionInfo info() const;

private:
    struct Transaction
    {
        std::uint32_t id = 0;
        ConnectionPool::Connection connection;
        std::chrono::steady_clock::time_point deadline;
        std::chrono::seconds timeout{0};
        bool expired = false; // rolled back by the time-out, waiting for commit/abort
    };

    // A tpbegin waiting for the database's write lock.
    struct PendingBegin
    {
        tp::Frame frame;
        ConnectionPool::Connection connection;
        std::chrono::seconds timeout{0};
        std::chrono::steady_clock::time_point lockDeadline;
        std::chrono::milliseconds backoff{1};
    };

    void readPrefix();
    void readBody(std::size_t length);
    // False when the frame's answer is still pending: reading resumes once it is sent.
    bool handle(tp::Frame frame);
    void handleInit(const tp::Frame &frame);
    void handleCall(const tp::Frame &frame);
    bool handleBegin(const tp::Frame &frame);
    // One try at the write lock; retries on a timer, so no I/O thread ever waits on it.
    void tryBegin();
    void openTransaction(const tp::Frame &frame, ConnectionPool::Connection connection,
                         std::chrono::seconds timeout);
    void handleCommit(const tp::Frame &frame);
    void handleAbort(const tp::Frame &frame);

    // Replies without a buffer, or with a buffer holding only "STATLIN".
    void replyStatus(const tp::Frame &request, int status, std::string detail);
    void replyFailure(const tp::Frame &request, int status, std::string detail, const std::string &statlinUtf8,
                      long userCode);
    void send(tp::Frame frame);
    void writeNext();
    // One log line per failed request (warning), per successful one only at debug level.
    void logOutcome(const tp::Frame &request, int status, const std::string &detail);
    std::string logPrefix() const;

    void expire(std::uint32_t transactionId);
    void endTransaction(bool commit, std::string *error);
    void close(const std::string &why);

    asio::ip::tcp::socket m_socket;
    asio::strand<asio::io_context::executor_type> m_strand;
    asio::steady_timer m_timer;
    asio::steady_timer m_beginTimer;
    std::shared_ptr<ServerState> m_state;
    std::uint64_t m_id;
    std::string m_peer;

    char m_prefix[tp::kFrameLengthPrefix];
    std::string m_body;
    std::deque<std::string> m_outbox;
    bool m_writing = false;
    bool m_closeAfterWrite = false;
    bool m_closed = false;

    mutable std::mutex m_infoMutex; // guards the identity for info() from other threads
    bool m_joined = false;
    std::string m_user, m_client; // UTF-8
    std::optional<Transaction> m_transaction;
    std::optional<PendingBegin> m_pendingBegin;
};

} // namespace medrec::server
