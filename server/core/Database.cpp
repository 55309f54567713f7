#include "Database.h"

#include <sqlite3.h>

namespace medrec::server {

sqlite3 *openDatabase(const std::string &path, std::chrono::milliseconds busyTimeout, std::string *error)
{
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (error)
            *error = "cannot open database " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, static_cast<int>(busyTimeout.count()));
    std::string why;
    // FULL: a commit acknowledged to a workstation is on the disk, power cut or not.
    if (!execute(db, "PRAGMA journal_mode=WAL", &why) || !execute(db, "PRAGMA synchronous=FULL", &why) ||
        !execute(db, "PRAGMA foreign_keys=ON", &why)) {
        if (error)
            *error = "cannot set up database " + path + ": " + why;
        sqlite3_close_v2(db);
        return nullptr;
    }
    return db;
}

bool execute(sqlite3 *db, const char *sql, std::string *error)
{
    char *message = nullptr;
    int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        if (error)
            *error = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        return false;
    }
    return true;
}

ConnectionPool::ConnectionPool(std::string path, std::chrono::milliseconds busyTimeout, std::size_t maxIdle)
    : m_path(std::move(path)), m_busyTimeout(busyTimeout), m_maxIdle(maxIdle)
{
}

void PooledConnection::Close::operator()(sqlite3 *db) const { sqlite3_close_v2(db); }

ConnectionPool::~ConnectionPool() { closeIdle(); }

void ConnectionPool::closeIdle()
{
    std::lock_guard lock(m_mutex);
    m_idle.clear();
}

void ConnectionPool::Giver::operator()(PooledConnection *connection) const
{
    pool->giveBack(std::unique_ptr<PooledConnection>(connection));
}

ConnectionPool::Connection ConnectionPool::acquire(std::string *error)
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_idle.empty()) {
            Connection connection(m_idle.back().release(), Giver{this});
            m_idle.pop_back();
            return connection;
        }
    }
    sqlite3 *db = openDatabase(m_path, m_busyTimeout, error);
    return Connection(db ? new PooledConnection(db) : nullptr, Giver{this});
}

void ConnectionPool::giveBack(std::unique_ptr<PooledConnection> connection)
{
    if (!connection)
        return;
    sqlite3 *db = connection->db();
    // A handler that left a transaction open (or a failed COMMIT) must not leak it into
    // the next user of the connection.
    if (!sqlite3_get_autocommit(db))
        execute(db, "ROLLBACK", nullptr);
    std::lock_guard lock(m_mutex);
    if (m_idle.size() < m_maxIdle && sqlite3_get_autocommit(db))
        m_idle.push_back(std::move(connection));
}

} // namespace medrec::server
