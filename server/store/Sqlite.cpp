#include "Sqlite.h"

#include <sqlite3.h>

namespace medrec::server::store {

namespace {

[[noreturn]] void fail(sqlite3 *db, int rc, std::string_view doing)
{
    std::string message(doing);
    message += ": ";
    message += db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw DbError(message, db != nullptr ? sqlite3_extended_errcode(db) : rc);
}

constexpr int kBusyTimeoutMs = 10'000;

} // namespace

Statement::Statement(SqlConnection db, std::string_view sql) : m_db(db.handle), m_prepared(db.prepared), m_sql(sql)
{
    int rc = SQLITE_OK;
    if (m_prepared)
        m_stmt = m_prepared->take(sql, &rc);
    else
        rc = sqlite3_prepare_v3(m_db, sql.data(), static_cast<int>(sql.size()), 0, &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(m_db, rc, "prepare");
}

Statement::~Statement()
{
    if (m_prepared && m_stmt)
        m_prepared->giveBack(m_sql, m_stmt);
    else
        sqlite3_finalize(m_stmt);
}

Statement &Statement::bind(int index, std::string_view text)
{
    const int rc = sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail(m_db, rc, "bind");
    return *this;
}

Statement &Statement::bind(int index, std::int64_t value)
{
    const int rc = sqlite3_bind_int64(m_stmt, index, value);
    if (rc != SQLITE_OK)
        fail(m_db, rc, "bind");
    return *this;
}

Statement &Statement::bindNull(int index)
{
    const int rc = sqlite3_bind_null(m_stmt, index);
    if (rc != SQLITE_OK)
        fail(m_db, rc, "bind");
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement must be reset before the connection's error text is trustworthy for the
    // next statement; keep this one's text first.
    std::string message = std::string("step: ") + sqlite3_errmsg(m_db);
    const int code = sqlite3_extended_errcode(m_db);
    sqlite3_reset(m_stmt);
    throw DbError(message, code);
}

void Statement::run()
{
    while (step()) {
    }
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}

std::string Statement::text(int column) const
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    if (p == nullptr)
        return {};
    return std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)));
}

std::int64_t Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

void execute(sqlite3 *db, std::string_view sql)
{
    const std::string text(sql);
    char *error = nullptr;
    const int rc = sqlite3_exec(db, text.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = std::string("exec: ") + (error != nullptr ? error : sqlite3_errstr(rc));
        sqlite3_free(error);
        throw DbError(message, sqlite3_extended_errcode(db));
    }
}

void configureConnection(sqlite3 *db)
{
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // WAL: readers never wait for the writer. FULL sync: COMMIT returns only once the WAL
    // is on the disk, so an acknowledged print-history row survives a power cut too, not
    // just a crash of the process (NORMAL would lose the last commits).
    execute(db, "PRAGMA journal_mode=WAL");
    execute(db, "PRAGMA synchronous=FULL");
    execute(db, "PRAGMA foreign_keys=ON");
}

Connection::Connection(const std::string &path, Mode mode)
{
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
    case Mode::ReadWrite: flags |= SQLITE_OPEN_READWRITE; break;
    case Mode::ReadWriteCreate: flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE; break;
    case Mode::ReadOnly: flags |= SQLITE_OPEN_READONLY; break;
    }
    const int rc = sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        std::string message = "open " + path + ": " + (m_db != nullptr ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError(message, rc);
    }
    sqlite3_extended_result_codes(m_db, 1);
    if (mode == Mode::ReadOnly) {
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        return;
    }
    try {
        configureConnection(m_db);
    } catch (...) {
        sqlite3_close(m_db);
        m_db = nullptr;
        throw;
    }
}

Connection::~Connection()
{
    sqlite3_close(m_db);
}

WriteTransaction::WriteTransaction(sqlite3 *db) : m_db(db)
{
    execute(m_db, "BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction()
{
    if (m_open)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

void WriteTransaction::commit()
{
    execute(m_db, "COMMIT");
    m_open = false;
}

} // namespace medrec::server::store
