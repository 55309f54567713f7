#pragma once

// SQLite connections of the server: every connection in WAL mode with full
// synchronisation (a commit returns once it is on the disk), a busy time-out and foreign
// keys on. The pool hands out connections for calls outside a transaction and for
// the life of a transaction; a connection comes back in autocommit mode or is closed.

#include "PreparedStatements.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct sqlite3;

namespace medrec::server {

// Opens (creating if needed) the database file. Null with *error set on failure.
sqlite3 *openDatabase(const std::string &path, std::chrono::milliseconds busyTimeout, std::string *error);

// Runs one statement without parameters (BEGIN, COMMIT, pragmas). False with *error.
bool execute(sqlite3 *db, const char *sql, std::string *error);

// One open connection of the pool, with the statements prepared on it so far.
class PooledConnection
{
public:
    explicit PooledConnection(sqlite3 *db) : m_db(db), m_statements(db) {}

    sqlite3 *db() const { return m_db.get(); }
    SqlConnection sql() { return SqlConnection(m_db.get(), &m_statements); }

private:
    struct Close
    {
        void operator()(sqlite3 *db) const;
    };
    std::unique_ptr<sqlite3, Close> m_db; // closed after its statements are finalized
    PreparedStatements m_statements;
};

class ConnectionPool
{
public:
    ConnectionPool(std::string path, std::chrono::milliseconds busyTimeout, std::size_t maxIdle);
    ~ConnectionPool();
    ConnectionPool(const ConnectionPool &) = delete;
    ConnectionPool &operator=(const ConnectionPool &) = delete;

    struct Giver
    {
        ConnectionPool *pool;
        void operator()(PooledConnection *connection) const;
    };
    using Connection = std::unique_ptr<PooledConnection, Giver>;

    // An idle connection or a new one; null with *error when the file cannot be opened.
    Connection acquire(std::string *error);
    // Closes the idle connections (at server stop, when none is in use any more).
    void closeIdle();

private:
    void giveBack(std::unique_ptr<PooledConnection> connection);

    std::string m_path;
    std::chrono::milliseconds m_busyTimeout;
    std::size_t m_maxIdle;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<PooledConnection>> m_idle;
};

} // namespace medrec::server
