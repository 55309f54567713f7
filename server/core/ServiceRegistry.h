#pragma once

// The service handler interface of medrec-server.
//
// A handler serves one named service ("MD_RECOD_L1", ...). It is called on a worker thread
// with a ServiceContext that gives it
//   - the request, a read-only field buffer (Request),
//   - the reply it fills (Reply), which the server sends back with "STATLIN" and the
//     user return code,
//   - the caller's identity (tpinit names and the LOG_ fields of the request),
//   - the session's SQLite connection and whether the call runs inside a transaction.
//
// Text: helpers take and give UTF-8. The wire carries CP949; Request decodes it and Reply
// encodes it, so handlers never see CP949 bytes unless they ask for them (Request::bytes).
// A character that CP949 cannot hold is sent as '?'. Request::checkedText and
// ServiceContext::requireText refuse input that is not valid CP949 or is longer than the
// caller allows (counted in CP949 bytes, as the wire counts), with a status text naming
// the field.
//
// Outcome: a handler that returns normally succeeds with an empty "STATLIN" and user
// return code 0 unless it called succeed()/fail(). fail() makes the client's tpcall return
// -1 (TPESVCFAIL); the reply buffer still reaches the client, so it can read "STATLIN".
// A handler that throws fails the call (TPESVCERR) with a "STATLIN" naming the service;
// its transaction, if any, stays open for the client to abort. Unknown field names given
// to the helpers throw std::invalid_argument (a programming error, reported that way).
//
// Database: db() is the connection of this call. Inside a transaction (tpbegin ...
// tpcommit) it is the transaction's connection, already inside BEGIN IMMEDIATE; the
// handler must not BEGIN/COMMIT/ROLLBACK itself. Outside (TPNOTRAN) it is a pooled
// connection in autocommit mode. Connections are in WAL mode with a busy time-out; use
// prepared statements with bound parameters only.
//
// Threads: handlers of different sessions run at the same time on different threads and
// connections; calls of one session run one after the other. A handler must not keep the
// context, the request or the connection beyond its return.

#include "PreparedStatements.h"
#include "codec/Limits.h"
#include "fml.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct Fbfr;

namespace medrec::tp {
class FieldTable;
}

namespace medrec::server {

// Who is calling. UTF-8 (decoded from CP949).
struct Identity
{
    std::string user;      // the tpinit user name (TPSTART_T usrname)
    std::string client;    // the tpinit client name (TPSTART_T cltname)
    std::string workstation; // the subject of the workstation's certificate; empty on plain TCP
    std::string logUser;   // "LOG_USERNAME" occurrence 0 of this request, or empty
    std::string logClient; // "LOG_CLTNAME"
    std::string logForm;   // "LOG_FORMNAME"
};

// Read-only view of a request field buffer. Occurrences count from 0. Valid for the call.
class Request
{
public:
    Request(const Fbfr *buffer, const tp::FieldTable &fields);

    // Number of occurrences of the field (0 when absent).
    int count(std::string_view field) const;
    bool has(std::string_view field, int occurrence = 0) const;

    // The occurrence as UTF-8; empty when absent. Integers and reals come as decimal text.
    // Invalid CP949 bytes decode to U+FFFD.
    std::string text(std::string_view field, int occurrence = 0) const;

    // The occurrence's raw bytes (CP949 for text fields, without the terminating zero);
    // empty when absent.
    std::string_view bytes(std::string_view field, int occurrence = 0) const;

    // The occurrence as a 32-bit integer: integer fields as they are, text fields when they
    // hold a decimal number; nullopt when absent or not a number.
    std::optional<std::int32_t> integer(std::string_view field, int occurrence = 0) const;

    // The occurrence as UTF-8 after checking it: nullopt when its bytes are not valid CP949
    // or longer than maxBytes, with *why set to a status text naming the field (if why is
    // not null). An absent occurrence is the empty text (present or not: use has()).
    std::optional<std::string> checkedText(std::string_view field, int occurrence, std::size_t maxBytes,
                                           std::string *why) const;

    // The field's identifier in the server's field table (BADFLDID when unknown).
    std::uint32_t fieldId(std::string_view field) const;
    const Fbfr *buffer() const { return m_buffer; }
    const tp::FieldTable &fields() const { return m_fields; }

private:
    const Fbfr *m_buffer;
    const tp::FieldTable &m_fields;
};

// The reply field buffer a handler fills. It starts small and grows up to the caller's
// flavour (65,532 bytes for FML, 524,256 for FML32); a reply too large for it is sent
// as a failure whose "STATLIN" says so.
// The add/set calls return false when the buffer is full: the reply is then marked
// overflowed and sent as that same failure, whatever the handler does next.
class Reply
{
public:
    // limit: the caller's buffer flavour's size; the buffer starts small and grows to it.
    explicit Reply(const tp::FieldTable &fields, std::size_t limit = tp::kFml32MaxSize);
    ~Reply();
    Reply(const Reply &) = delete;
    Reply &operator=(const Reply &) = delete;

    // Appends one occurrence (the next row). Text is UTF-8, sent as CP949.
    bool addText(std::string_view field, std::string_view utf8);
    bool addInteger(std::string_view field, std::int32_t value);
    bool addReal(std::string_view field, double value);
    // Appends raw bytes (already CP949, or binary for a carray field).
    bool addBytes(std::string_view field, std::string_view bytes);

    // Appends an entry as it stands in another buffer (FieldBuffer's stored bytes).
    bool appendStored(FLDID id, std::string_view stored);

    // Sets occurrence n, adding empty occurrences below it as needed.
    bool setText(std::string_view field, int occurrence, std::string_view utf8);
    bool setInteger(std::string_view field, int occurrence, std::int32_t value);

    int count(std::string_view field) const;
    bool overflowed() const { return m_overflowed; }
    // Bytes the buffer uses so far (what goes on the wire).
    std::size_t usedBytes() const;

    Fbfr *buffer() { return m_buffer; }
    const Fbfr *buffer() const { return m_buffer; }

private:
    bool change(std::string_view field, int occurrence, const char *value, std::size_t length, int type);
    // Doubles the buffer (up to the limit); false when it is at the limit already.
    bool grow();

    const tp::FieldTable &m_fields;
    std::unique_ptr<char[]> m_storage;
    Fbfr *m_buffer;
    std::size_t m_limit;
    bool m_overflowed = false;
};

class SessionNotifier;
class ReplyRows;

// Everything a handler gets for one call.
class ServiceContext
{
public:
    ServiceContext(std::string service, const Request &request, Reply &reply, Identity identity,
                   SqlConnection db, bool inTransaction, std::uint64_t sessionId, SessionNotifier *notifier);

    const std::string &service() const { return m_service; }
    const Request &request() const { return m_request; }
    Reply &reply() { return m_reply; }
    const Identity &identity() const { return m_identity; }
    sqlite3 *db() const { return m_db.handle; }
    // The same connection with the statements prepared on it: queries run through it are
    // compiled once per connection rather than once per call.
    SqlConnection connection() const { return m_db; }
    bool inTransaction() const { return m_inTransaction; }
    std::uint64_t sessionId() const { return m_sessionId; }

    // The reply's "STATLIN" (UTF-8) and user return code (gettpurcode on the client:
    // -1 notice window, 1 message box, 0 status line).
    void setStatus(std::string_view utf8) { m_status = std::string(utf8); }
    void setUserCode(long code) { m_userCode = code; }
    void succeed(std::string_view status = {}, long userCode = 0);
    void fail(std::string_view status, long userCode = -1);

    // requireText: the checked occurrence into out; on bad input fails the call with the
    // check's status text and returns false (the handler then just returns).
    bool requireText(std::string_view field, int occurrence, std::size_t maxBytes, std::string &out);

    // Records that this call reads or writes the data of the patient: once the call has
    // succeeded, the server writes an access-audit row for it (AccessAudit.h) before the
    // reply leaves. Empty numbers are ignored; a patient counts once per call.
    void audit(std::string_view patno);
    const std::vector<std::string> &audited() const { return m_audited; }
    // Rows for the reply, sent after whatever the reply holds: the server sends as many as
    // fit the caller's buffer and the rest as the caller asks for them (ReplyRows.h,
    // docs/wire-format.md). rowsFor makes an empty set whose values the field table checks.
    ReplyRows rowsFor(std::string countField, bool trimEmpties) const;
    void replyRows(ReplyRows rows);
    std::shared_ptr<const ReplyRows> rows() const { return m_rows; }

    // Queues an unsolicited message (UTF-8 text, sent as a CP949 "STRING" buffer) to this
    // session; it reaches the client before this call's reply, so a dip-in client gets it
    // while it waits in tpcall. False when there is no session to send to.
    bool notify(std::string_view utf8);

    const std::string &status() const { return m_status; }
    long userCode() const { return m_userCode; }
    bool failed() const { return m_failed; }

private:
    std::string m_service;
    const Request &m_request;
    Reply &m_reply;
    Identity m_identity;
    SqlConnection m_db;
    bool m_inTransaction;
    std::uint64_t m_sessionId;
    SessionNotifier *m_notifier;
    std::shared_ptr<const ReplyRows> m_rows;
    std::string m_status;
    long m_userCode = 0;
    bool m_failed = false;
    std::vector<std::string> m_audited;
};

// Sends unsolicited messages to the session a call belongs to (implemented by the server).
class SessionNotifier
{
public:
    virtual ~SessionNotifier() = default;
    virtual bool notify(std::uint64_t sessionId, std::string cp949Text) = 0;
};

using ServiceHandler = std::function<void(ServiceContext &)>;

// Service handlers by name. Filled before the server starts; read-only while it runs.
class ServiceRegistry
{
public:
    // Registers a handler; a second handler for the same name replaces the first.
    void add(std::string name, ServiceHandler handler);
    // The handler of a service, or null.
    const ServiceHandler *find(std::string_view name) const;
    std::vector<std::string> names() const;
    bool empty() const { return m_handlers.empty(); }

private:
    std::map<std::string, ServiceHandler, std::less<>> m_handlers;
};

} // namespace medrec::server
