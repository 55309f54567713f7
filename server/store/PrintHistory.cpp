#include "PrintHistory.h"

#include "Sqlite.h"
#include "system/LocalTime.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace medrec::server::store {

std::string localTimestamp()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const std::tm local = platform::localTime(seconds);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis));
    return text;
}

std::int64_t addPrintHistory(SqlConnection db, const PrintHistoryEntry &e)
{
    Statement st(db, R"SQL(
        INSERT INTO print_history (printed_at, patno, key2, key3, key4, key5, kind_code,
                                   log_user, log_client, log_form, session_user, session_client)
        VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)
        RETURNING id)SQL");
    st.bind(1, e.printedAt.empty() ? localTimestamp() : e.printedAt);
    int i = 2;
    for (const std::string *v : {&e.patno, &e.key2, &e.key3, &e.key4, &e.key5, &e.kindCode, &e.logUser, &e.logClient,
                                 &e.logForm, &e.sessionUser, &e.sessionClient})
        st.bind(i++, *v);
    if (!st.step())
        throw DbError("insert print_history: no row id returned", 0);
    const std::int64_t id = st.integer(0);
    st.run();
    return id;
}

std::vector<PrintHistoryEntry> listPrintHistory(sqlite3 *db, std::size_t limit)
{
    Statement st(db, R"SQL(
        SELECT id, printed_at, patno, key2, key3, key4, key5, kind_code,
               log_user, log_client, log_form, session_user, session_client
        FROM print_history ORDER BY id DESC LIMIT ?1)SQL");
    st.bind(1, limit == 0 ? std::int64_t{-1} : static_cast<std::int64_t>(limit));
    std::vector<PrintHistoryEntry> list;
    while (st.step()) {
        PrintHistoryEntry e;
        e.id = st.integer(0);
        int c = 1;
        for (std::string *v : {&e.printedAt, &e.patno, &e.key2, &e.key3, &e.key4, &e.key5, &e.kindCode, &e.logUser,
                               &e.logClient, &e.logForm, &e.sessionUser, &e.sessionClient})
            *v = st.text(c++);
        list.push_back(std::move(e));
    }
    return list;
}

std::int64_t countPrintHistory(sqlite3 *db)
{
    Statement st(db, "SELECT count(*) FROM print_history");
    return st.step() ? st.integer(0) : 0;
}

} // namespace medrec::server::store
