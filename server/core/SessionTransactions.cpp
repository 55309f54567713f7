// The transactions of a session: begin (waiting for the write lock without blocking a
// thread), commit, abort, the time-out, and the rollback-only state a failed call leaves.

#include "Session.h"

#include "atmi.h"

#include <sqlite3.h>

namespace medrec::server {

bool Session::refuseCallInTransaction(const tp::Frame &frame)
{
    if (!m_transaction || m_transaction->id != frame.transaction) {
        replyFailure(frame, TPETRAN, "the call names a transaction that is not open",
                     "열려 있지 않은 트랜잭션 안의 호출입니다.", -1);
        return true;
    }
    if (m_transaction->doom == Transaction::Doom::None && Clock::now() >= m_transaction->deadline)
        expire(m_transaction->id);
    switch (m_transaction->doom) {
    case Transaction::Doom::None:
        return false;
    case Transaction::Doom::TimedOut:
        replyFailure(frame, TPETIME,
                     "the transaction timed out after " + std::to_string(m_transaction->timeout.count()) +
                         " s and was rolled back",
                     "트랜잭션 제한 시간(" + std::to_string(m_transaction->timeout.count()) +
                         "초)이 지나 작업이 취소되었습니다.",
                     -1);
        return true;
    case Transaction::Doom::Failed:
        replyFailure(frame, TPETRAN, "the transaction is rollback-only: " + m_transaction->why,
                     "앞선 호출이 실패하여 트랜잭션이 취소되었습니다. 처음부터 다시 하십시오.", -1);
        return true;
    }
    return true;
}

void Session::handleBegin(const tp::Frame &frame)
{
    if (m_transaction) {
        // A client begins only when it knows of no open transaction: this one was lost (its
        // tpbegin gave up waiting before the reply came), so it is rolled back rather than
        // left holding the write lock and refusing every later begin of the session.
        log("transaction " + std::to_string(m_transaction->id) + " the client lost is rolled back");
        endTransaction(false, nullptr);
    }
    const auto &o = m_state->options;
    std::chrono::seconds timeout = frame.arg == 0 ? o.defaultTransactionTimeout
                                                  : std::min(std::chrono::seconds(frame.arg), o.maxTransactionTimeout);
    std::string why;
    auto connection = m_state->pool.acquire(&why);
    if (!connection) {
        replyStatus(frame, TPESYSTEM, "database unavailable: " + why);
        return;
    }
    // The lock is waited for as long as a statement would wait on a busy database, but
    // never past the time the caller waits for this reply (its flags): a transaction it
    // no longer knows of must not be opened behind its back. The margin leaves time for
    // the reply to travel.
    const auto now = Clock::now();
    Clock::time_point lockDeadline = now + o.busyTimeout;
    bool callerGivesUp = false;
    if (frame.flags != 0) {
        const std::chrono::milliseconds wait(frame.flags);
        const auto callerDeadline = now + wait - std::min(wait / 4, std::chrono::milliseconds(500));
        if (callerDeadline < lockDeadline) {
            lockDeadline = callerDeadline;
            callerGivesUp = true;
        }
    }
    m_pendingBegin = PendingBegin{frame, std::move(connection), timeout, lockDeadline, callerGivesUp};
    tryBegin();
}

void Session::tryBegin()
{
    if (m_closed || !m_pendingBegin)
        return;
    PendingBegin &p = *m_pendingBegin;
    sqlite3 *db = p.connection->db();
    sqlite3_busy_timeout(db, 0);
    std::string why;
    const bool begun = execute(db, "BEGIN IMMEDIATE", &why);
    const bool busy = !begun && (sqlite3_errcode(db) & 0xff) == SQLITE_BUSY;
    sqlite3_busy_timeout(db, static_cast<int>(m_state->options.busyTimeout.count()));
    if (busy && Clock::now() + p.backoff < p.lockDeadline) {
        m_beginTimer.expires_after(p.backoff);
        p.backoff = std::min(p.backoff * 2, std::chrono::milliseconds(20));
        m_beginTimer.async_wait([self = shared_from_this()](const asio::error_code &ec) {
            if (!ec)
                self->tryBegin();
        });
        return;
    }
    PendingBegin done = std::move(p);
    m_pendingBegin.reset();
    if (begun)
        openTransaction(done.frame, std::move(done.connection), done.timeout);
    else if (busy && done.callerGivesUp)
        replyStatus(done.frame, TPETIME, "the database stayed locked for as long as the caller waits");
    else
        replyStatus(done.frame, TPESYSTEM, "cannot begin the transaction: " + why);
    if (m_closeAfterWrite && !m_writing && m_outbox.empty())
        close(m_finishWhy);
    else
        processInput();
}

void Session::openTransaction(const tp::Frame &frame, ConnectionPool::Connection connection,
                              std::chrono::seconds timeout)
{
    Transaction t;
    t.id = m_state->nextTransactionId++;
    if (t.id == 0)
        t.id = m_state->nextTransactionId++;
    t.connection = std::move(connection);
    t.timeout = timeout;
    t.deadline = Clock::now() + timeout;
    std::uint32_t id = t.id;
    {
        std::lock_guard lock(m_infoMutex);
        m_transaction = std::move(t);
    }
    m_timer.expires_at(m_transaction->deadline);
    m_timer.async_wait([self = shared_from_this(), id](const asio::error_code &ec) {
        if (!ec)
            self->expire(id);
    });
    tp::Frame out;
    out.kind = tp::FrameKind::Reply;
    out.sequence = frame.sequence;
    out.transaction = id;
    send(std::move(out));
}

void Session::expire(std::uint32_t transactionId)
{
    if (!m_transaction || m_transaction->id != transactionId || m_transaction->doom != Transaction::Doom::None)
        return;
    doom(Transaction::Doom::TimedOut, "it timed out");
}

void Session::doom(Transaction::Doom doom, std::string why)
{
    if (!m_transaction || m_transaction->doom != Transaction::Doom::None)
        return;
    m_timer.cancel();
    execute(m_transaction->connection->db(), "ROLLBACK", nullptr);
    std::lock_guard lock(m_infoMutex);
    m_transaction->connection.reset();
    m_transaction->doom = doom;
    m_transaction->why = std::move(why);
}

void Session::endTransaction(bool commit, std::string *error)
{
    m_timer.cancel();
    if (m_transaction && m_transaction->doom == Transaction::Doom::None && m_transaction->connection) {
        if (commit && !execute(m_transaction->connection->db(), "COMMIT", error))
            execute(m_transaction->connection->db(), "ROLLBACK", nullptr);
        else if (!commit)
            execute(m_transaction->connection->db(), "ROLLBACK", error);
    }
    std::lock_guard lock(m_infoMutex);
    m_transaction.reset();
}

void Session::handleCommit(const tp::Frame &frame)
{
    if (!m_transaction || m_transaction->id != frame.transaction) {
        replyStatus(frame, TPEPROTO, "no such transaction is open");
        return;
    }
    if (m_transaction->doom == Transaction::Doom::None && Clock::now() >= m_transaction->deadline)
        expire(m_transaction->id);
    if (m_transaction->doom == Transaction::Doom::TimedOut) {
        std::string detail = "the transaction timed out after " + std::to_string(m_transaction->timeout.count()) +
                             " s and was rolled back";
        endTransaction(false, nullptr);
        replyStatus(frame, TPETIME, detail);
        return;
    }
    if (m_transaction->doom == Transaction::Doom::Failed) {
        std::string detail = "the transaction was rolled back: " + m_transaction->why;
        endTransaction(false, nullptr);
        replyStatus(frame, TPEABORT, detail);
        return;
    }
    std::string why;
    endTransaction(true, &why);
    if (!why.empty()) {
        replyStatus(frame, TPEABORT, "commit failed and the transaction was rolled back: " + why);
        return;
    }
    replyStatus(frame, 0, {});
}

void Session::handleAbort(const tp::Frame &frame)
{
    // Transaction 0: the client gave up on its tpbegin and rolls back whatever the server
    // opened for it meanwhile.
    if (frame.transaction == 0) {
        if (m_transaction)
            log("transaction " + std::to_string(m_transaction->id) + " the client lost is rolled back");
        endTransaction(false, nullptr);
        replyStatus(frame, 0, {});
        return;
    }
    if (!m_transaction || m_transaction->id != frame.transaction) {
        replyStatus(frame, TPEPROTO, "no such transaction is open");
        return;
    }
    endTransaction(false, nullptr);
    replyStatus(frame, 0, {});
}

} // namespace medrec::server
