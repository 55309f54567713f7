#pragma once

// One middleware session: a TCP connection to the service host, joined with tpinit's
// names, carrying calls, the transaction and unsolicited messages (docs/wire-format.md).
//
// The C API (atmi.h) keeps one session per process; programs and tests may hold more
// sessions of their own. Every call blocks its thread until the reply arrives or the
// environment's CALL_TIMEOUT passes (TPETIME). Unsolicited messages are delivered
// dip-in: while a call waits for its reply, and by checkUnsolicited. Failures return -1
// (null for join) with tperrno and a detail text set (Errors.h). A lost connection ends
// the session: connected() turns false and every later call fails with TPESYSTEM.
// Not for use by two threads at once. The connection uses TCP keep-alive, so a service
// host that vanished is noticed even by a call without a time-out.
//
// A call that fails inside a transaction (time-out, service failure, lost reply, a reply
// that does not fit) makes the transaction rollback-only: the server is told to roll it
// back at once, later calls in it fail with TPETRAN, tpcommit fails with TPEABORT (TPETIME
// when the server said the transaction's time-out had passed) and tpabort ends it. So a write retried after a failure is never stored twice.

#include "TypedBuffer.h"
#include "atmi.h"
#include "codec/Environment.h"
#include "codec/Frame.h"

#include <chrono>
#include <optional>

#include <memory>
#include <string>

namespace medrec::tp::tls {
class TlsChannel;
}

namespace medrec::tp::client {

class ClientSession
{
public:
    // Connects to env's host (over TLS 1.3 when env names the site's CA: the host's
    // certificate must be the CA's and name the host; the workstation shows its own when
    // env names one) and joins as user/client (each at most 17 bytes) with tpinit
    // flags (TPU_IGN: drop unsolicited messages; otherwise dip-in).
    static std::unique_ptr<ClientSession> join(const SiteEnvironment &env, const std::string &user,
                                               const std::string &client, long flags);
    ~ClientSession();
    ClientSession(const ClientSession &) = delete;
    ClientSession &operator=(const ClientSession &) = delete;

    // tpcall: idata and *odata are tpalloc'd field buffers (may be the same one). The reply
    // replaces *odata (grown within its type's limit if needed) also when the service
    // failed (TPESVCFAIL), so its "STATLIN" can be read.
    int call(const char *service, char *idata, char **odata, long *olen, long flags);
    int begin(unsigned long timeoutSeconds, long flags);
    int commit(long flags);
    int abort(long flags);
    // Leaves: rolls back an open transaction on the server and closes the connection.
    int term();

    Unsolfunc *setUnsolicited(Unsolfunc *handler);
    // Delivers the unsolicited messages that have arrived; their count, or -1.
    int checkUnsolicited();

    bool connected() const;
    // True while the unsolicited-message handler runs (inside a call of this session).
    bool insideHandler() const { return m_inHandler; }
    bool inTransaction() const { return m_transaction != 0; }
    // True when the open transaction can only be rolled back.
    bool rollbackOnly() const { return !m_rollbackReason.empty(); }

private:
    struct Io;
    explicit ClientSession(const SiteEnvironment &env, long flags);

    enum class ReadResult
    {
        Frame,
        TimedOut,
        Lost
    };
    using Clock = std::chrono::steady_clock;

    // The call's frame sent and its reply put into *odata (tpcall's second half).
    // *serverStatus: the status the server answered with (untouched when none came).
    int callOnce(const char *service, Frame f, char **odata, long *olen, const BufferInfo &out, long flags,
                 int *serverStatus);
    // Commit or abort of the open transaction.
    int endTransaction(FrameKind kind, const char *call, long flags);
    // Sends a request and waits for its reply, delivering unsolicited messages meanwhile.
    std::optional<Frame> request(Frame frame, std::optional<Clock::time_point> deadline);
    ReadResult readFrame(Frame &frame, std::optional<Clock::time_point> deadline);
    // Reads until m_received holds at least count bytes (Frame), the deadline passes or
    // the connection is lost.
    ReadResult receiveAtLeast(std::size_t count, std::optional<Clock::time_point> deadline);
    // How long the next receive or send may block: the time left until the deadline, in
    // whole milliseconds (so that the socket's usual limit is set once, not for every
    // call); 0 for no deadline; nullopt when the deadline has passed.
    static std::optional<long> waitLeft(std::optional<Clock::time_point> deadline);
    bool writeFrame(const Frame &frame, std::optional<Clock::time_point> deadline);
    // Writes bytes as they go on the wire (encrypted already under TLS).
    bool writeBytes(const std::string &bytes, std::optional<Clock::time_point> deadline);
    // Takes bytes read from the wire; false when the session was lost over them (a TLS
    // alert: the host refused this workstation's certificate).
    bool take(const char *bytes, std::size_t n);
    // The TLS handshake before the Init; false with the error set.
    bool handshake(Clock::time_point deadline);
    std::optional<Clock::time_point> callDeadline() const;
    void deliver(const Frame &unsol);
    void lose(const std::string &why);
    // Marks the open transaction rollback-only and tells the server to roll it back
    // (transaction 0: whatever a lost tpbegin opened) without waiting for the answer.
    void abandon(std::uint32_t transaction, const std::string &why);

    std::unique_ptr<Io> m_io;
    std::unique_ptr<tls::TlsChannel> m_tls; // null: plain TCP
    std::string m_received; // read from the socket, not yet taken as frames
    SiteEnvironment m_env;
    long m_flags;
    std::uint32_t m_sequence = 0;
    std::uint32_t m_transaction = 0;
    std::string m_rollbackReason; // non-empty: the transaction is rollback-only
    int m_rollbackError = TPEABORT; // what tpcommit then fails with
    Unsolfunc *m_handler = nullptr;
    bool m_inHandler = false;
};

} // namespace medrec::tp::client
