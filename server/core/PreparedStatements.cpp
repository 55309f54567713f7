#include "PreparedStatements.h"

namespace medrec::server {

PreparedStatements::PreparedStatements(sqlite3 *db) : m_db(db) {}

PreparedStatements::~PreparedStatements()
{
    for (sqlite3_stmt *statement : m_all)
        sqlite3_finalize(statement);
}

sqlite3_stmt *PreparedStatements::take(std::string_view sql, int *rc)
{
    auto it = m_ready.find(sql);
    if (it != m_ready.end() && !it->second.empty()) {
        sqlite3_stmt *statement = it->second.back();
        it->second.pop_back();
        return statement;
    }
    sqlite3_stmt *statement = nullptr;
    *rc = sqlite3_prepare_v3(m_db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &statement,
                             nullptr);
    if (*rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    m_all.push_back(statement);
    return statement;
}

void PreparedStatements::giveBack(std::string_view sql, sqlite3_stmt *statement)
{
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    auto it = m_ready.find(sql);
    if (it == m_ready.end())
        it = m_ready.emplace(std::string(sql), std::vector<sqlite3_stmt *>{}).first;
    it->second.push_back(statement);
}

} // namespace medrec::server
