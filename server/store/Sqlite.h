#pragma once

// A thin layer over the SQLite C API: prepared statements with bound parameters (the only
// way this store talks SQL), a connection owner, and a failure type.
//
// Every failure of SQLite surfaces as DbError carrying SQLite's own message and result
// code; callers on the service side turn it into a server-fault reply.

#include "PreparedStatements.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace medrec::server::store {

class DbError : public std::runtime_error
{
public:
    DbError(const std::string &what, int code) : std::runtime_error(what), m_code(code) {}
    // SQLite's extended result code.
    int code() const { return m_code; }

private:
    int m_code;
};

using SqlConnection = server::SqlConnection;

// One prepared statement on a connection the caller keeps open for the statement's life.
// Parameters are numbered from 1; columns from 0. Text goes in and out as UTF-8.
// On a connection with prepared statements (the server's), the statement is taken from
// them and given back afterwards, so the SQL text must outlive the Statement.
class Statement
{
public:
    Statement(SqlConnection db, std::string_view sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, std::string_view text);
    Statement &bind(int index, std::int64_t value);
    Statement &bindNull(int index);

    // Advances to the next row: true when a row is there, false when done. Throws DbError.
    bool step();
    // Runs a statement that yields no rows (or ignores them).
    void run();
    // Back to the start, keeping the bindings, so the statement can run again.
    void reset();

    std::string text(int column) const;
    std::int64_t integer(int column) const;
    bool isNull(int column) const;

private:
    sqlite3 *m_db;
    server::PreparedStatements *m_prepared;
    std::string_view m_sql;
    sqlite3_stmt *m_stmt = nullptr;
};

// Runs SQL text without parameters (schema statements, pragmas). Throws DbError.
void execute(sqlite3 *db, std::string_view sql);

// Owns an open connection. Opening sets WAL mode, a busy time-out and foreign keys.
class Connection
{
public:
    enum class Mode { ReadWrite, ReadWriteCreate, ReadOnly };

    // Throws DbError when the file cannot be opened.
    Connection(const std::string &path, Mode mode);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    sqlite3 *get() const { return m_db; }

private:
    sqlite3 *m_db = nullptr;
};

// The settings every connection of the store uses; also applied by the server to its own
// connections through prepareDatabase. Throws DbError.
void configureConnection(sqlite3 *db);

// BEGIN IMMEDIATE ... COMMIT on a connection in autocommit mode; rolls back when it goes
// out of scope uncommitted. For the command-line tools, which own their connection; the
// service handlers run inside the server's transactions instead.
class WriteTransaction
{
public:
    explicit WriteTransaction(sqlite3 *db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    void commit();

private:
    sqlite3 *m_db;
    bool m_open = true;
};

} // namespace medrec::server::store
