#pragma once

// One workstation connection (internal to the server core). Every member runs on the
// session's strand; post() and the public entry points may be called from any thread.

#include "Database.h"
#include "ReplyRows.h"
#include "ServerState.h"
#include "codec/Frame.h"
#include "tls/TlsChannel.h"

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
    // refusing: the server is full; the session answers the Init with TPELIMIT and ends.
    // loop: the event loop the socket belongs to; the session runs on it for its life.
    // tls: the site's TLS context (null: plain TCP).
    Session(asio::ip::tcp::socket socket, asio::io_context &loop, std::shared_ptr<ServerState> state,
            std::uint64_t id, bool refusing, std::shared_ptr<const tp::tls::TlsContext> tls);
    ~Session();

    void start();
    // Queues an unsolicited frame; runs at once when called on the session's strand, so a
    // handler's notice goes out before its reply.
    void sendUnsolicited(tp::Flavour flavour, std::string data);
    // Ends the session from outside (server stop).
    void shutdown();
    // Ends a connection that has not joined yet, for a newer one (any thread, also with
    // the server's lock on its sessions held).
    void giveWay(std::string why);
    SessionInfo info() const;

private:
    using Clock = std::chrono::steady_clock;

    struct Transaction
    {
        std::uint32_t id = 0;
        ConnectionPool::Connection connection;
        Clock::time_point deadline;
        std::chrono::seconds timeout{0};
        // Rolled back already, waiting for the client's commit or abort.
        enum class Doom
        {
            None,
            TimedOut, // its time-out passed
            Failed    // a call in it failed
        } doom = Doom::None;
        std::string why; // what failed
    };

    // A tpbegin waiting for the database's write lock.
    struct PendingBegin
    {
        tp::Frame frame;
        ConnectionPool::Connection connection;
        std::chrono::seconds timeout{0};
        Clock::time_point lockDeadline;
        bool callerGivesUp = false; // lockDeadline is the caller's wait, not the server's
        std::chrono::milliseconds backoff{1};
    };

    // Input: bytes are read as they arrive (never a whole announced body up front) and
    // handled frame by frame; reading pauses while requests are unanswered.
    void readMore();
    void received(const asio::error_code &ec, std::size_t got);
    // Bytes from the wire: decrypted into m_input under TLS (the handshake first).
    void takeBytes(std::string_view bytes);
    // The handshake ended: the workstation's certificate was accepted or refused.
    void handshakeDone();
    // Answers a plain client at a TLS port, which reads frames only, and ends.
    bool refusePlainClient(const tp::Frame &frame);
    // Answers and ends a session whose workstation certificate the site's files, loaded
    // again since the handshake, no longer accept (revoked while connected).
    bool refuseDistrustedWorkstation(const tp::Frame &frame);
    void processInput();
    bool completeFrameBuffered() const;
    std::size_t unanswered() const;

    void handle(tp::Frame frame);
    void handleInit(const tp::Frame &frame);
    void handleCall(const tp::Frame &frame);
    // The access-audit rows of a call that touched these patients.
    std::vector<AuditRow> auditRows(const std::string &service, std::vector<std::string> patients) const;
    // Writes the call's audit rows and sends its reply once they are on the disk (or a
    // failure when they cannot be written).
    void replyAfterAudit(const tp::Frame &request, std::vector<std::string> patients, std::string reply);
    void handleBegin(const tp::Frame &frame);
    // One try at the write lock; retries on a timer, so no I/O thread ever waits on it.
    void tryBegin();
    void openTransaction(const tp::Frame &frame, ConnectionPool::Connection connection,
                         std::chrono::seconds timeout);
    void handleCommit(const tp::Frame &frame);
    void handleAbort(const tp::Frame &frame);
    // Replies with the failure and returns true when the call's transaction cannot take it.
    bool refuseCallInTransaction(const tp::Frame &frame);

    // Rows beyond one reply (SessionRows.cpp, docs/wire-format.md). What the request asks of
    // a list reply: whether the client continues ("L_ROWFROM" given) and from which row.
    struct RowAsk
    {
        bool canContinue = false;
        std::size_t from = 0;
    };
    RowAsk askedRows(const Fbfr *request) const;
    // Puts the rows that fit into the reply; when some do not, either keeps them for the
    // client that continues (adding "L_ROWNEXT") or gives the bytes the whole answer takes.
    std::optional<std::size_t> packFirstRows(const tp::Frame &frame, const Fbfr *request, bool canContinue,
                                             std::shared_ptr<const ReplyRows> rows, const ServiceContext &ctx,
                                             Reply &reply);
    // Answers a request for the rows from `from` on out of what the last call kept.
    void continueRows(const tp::Frame &frame, const Fbfr *request, std::size_t from);

    void replyTooLarge(const tp::Frame &frame, std::size_t bytes);
    void sendReply(const tp::Frame &frame, int status, long userCode, const std::string &detail, const Reply &reply,
                   const std::string &statusText);
    // The same reply as bytes on the wire, logged as sent.
    std::string encodeReply(const tp::Frame &frame, int status, long userCode, const std::string &detail,
                            const Reply &reply, const std::string &statusText);
    // Replies without a buffer, or with a buffer holding only "STATLIN".
    void replyStatus(const tp::Frame &request, int status, std::string detail);
    void replyFailure(const tp::Frame &request, int status, std::string detail, const std::string &statlinUtf8,
                      long userCode);
    void send(tp::Frame frame);
    void sendEncoded(std::string bytes);
    // Queues bytes as they go on the wire and starts writing them.
    void queueWire(std::string bytes);
    // Writes what the socket takes now and waits for it to take the rest; once all is out,
    // a closing session closes, and resumeInput goes on with the input (a send made while
    // handling the input leaves that to its caller).
    void flush(bool resumeInput);
    // Writes what the socket takes now; false when that failed and the session closed.
    bool writeNow();
    // Waits for the socket to take more of the queued frames, then flushes on.
    void waitWritable();
    // One log line per failed request (warning), per successful one only at debug level.
    void logOutcome(const tp::Frame &request, int status, const std::string &detail);
    std::string logPrefix() const;

    void expire(std::uint32_t transactionId);
    // Rolls the transaction back now and keeps it, rollback-only, for the client to end.
    void doom(Transaction::Doom doom, std::string why);
    void endTransaction(bool commit, std::string *error);
    // Sends what is queued, then closes.
    void finish(const std::string &why);
    void close(const std::string &why);
    // Everything is sent: no more bytes from this side, and what the client still sends
    // is read and dropped until it closes (a close with unread bytes would reset the
    // connection and the client might never read the last reply), for a short while.
    void drainThenClose();
    void log(const std::string &line) const;

    // The one time limit that applies now (Init, a stalled frame, idle), re-armed after
    // every event.
    void updateDeadline();
    void setDeadline(Clock::time_point when, std::string why);
    void onDeadline();

    asio::ip::tcp::socket m_socket;
    asio::strand<asio::io_context::executor_type> m_strand;
    asio::steady_timer m_timer;
    asio::steady_timer m_beginTimer;
    asio::steady_timer m_deadlineTimer;
    std::shared_ptr<ServerState> m_state;
    std::uint64_t m_id;
    std::string m_peer;
    bool m_refusing;
    std::unique_ptr<tp::tls::TlsChannel> m_tls; // null: plain TCP
    // The site's files the workstation's certificate last passed, and when that was looked at.
    std::shared_ptr<const tp::tls::TlsContext> m_trustedBy;
    Clock::time_point m_trustCheckedAt;
    bool m_plainAtTlsPort = false;
    bool m_firstBytes = true;
    bool m_draining = false;
    bool m_refusedDraining = false; // counted by the server as such

    std::string m_input;     // received, not yet handled
    std::string m_readSpace; // where the read under way puts its bytes
    bool m_reading = false;
    bool m_inputEnded = false; // the client sent its last byte (or a bad frame came)
    std::deque<std::string> m_outbox;
    std::size_t m_written = 0; // of m_outbox.front()
    bool m_writing = false;
    bool m_closeAfterWrite = false;
    std::string m_finishWhy;
    bool m_closed = false;

    Clock::time_point m_started;
    Clock::time_point m_lastRead;
    Clock::time_point m_lastWrite;
    Clock::time_point m_lastRequest;
    Clock::time_point m_deadline = Clock::time_point::max();
    std::string m_deadlineWhy;
    bool m_deadlineArmed = false;

    mutable std::mutex m_infoMutex; // guards the identity for info() from other threads
    bool m_joined = false;
    std::string m_user, m_client; // UTF-8
    std::string m_workstation;    // the certificate's subject
    std::optional<Transaction> m_transaction;
    std::optional<PendingBegin> m_pendingBegin;
    // A reply held until the access audit has its rows on the disk.
    bool m_auditPending = false;

    // The rows of the session's last list reply that did not fit it, with what they answer:
    // continuations are served from here, so every piece comes from the one reading.
    struct PendingRows
    {
        std::string service;
        std::string request; // the request's fields but the row number and the LOG_ fields
        std::shared_ptr<const ReplyRows> rows;
        std::size_t next = 0;
        std::string status;
        long userCode = 0;
    };
    std::optional<PendingRows> m_pendingRows;
};

} // namespace medrec::server
