#pragma once

// The statements prepared on one connection, kept for the connection's life: a query's SQL
// is compiled the first time it runs and reused after, reset and with its parameters
// cleared. Parsing and planning cost more than most of the service queries themselves.

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace medrec::server {

class PreparedStatements
{
public:
    explicit PreparedStatements(sqlite3 *db);
    // Finalizes every statement; none may be taken out any more.
    ~PreparedStatements();
    PreparedStatements(const PreparedStatements &) = delete;
    PreparedStatements &operator=(const PreparedStatements &) = delete;

    // A statement for the SQL, ready to bind: one prepared before, or a new one. Null with
    // *rc set when SQLite refuses the SQL. The same SQL may be taken twice at once (a
    // second statement is prepared).
    sqlite3_stmt *take(std::string_view sql, int *rc);
    // Back for the next use of the same SQL (the text it was taken with).
    void giveBack(std::string_view sql, sqlite3_stmt *statement);

private:
    struct Hash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    sqlite3 *m_db;
    std::unordered_map<std::string, std::vector<sqlite3_stmt *>, Hash, std::equal_to<>> m_ready;
    std::vector<sqlite3_stmt *> m_all;
};

// A connection as the queries see it: the handle and, for the server's pooled connections,
// the statements already prepared on it (null: each statement is compiled for one use).
struct SqlConnection
{
    SqlConnection(sqlite3 *db, PreparedStatements *prepared = nullptr) : handle(db), prepared(prepared) {}
    sqlite3 *handle;
    PreparedStatements *prepared;
};

} // namespace medrec::server
