#include "PrintHistory.h"

#include "Sqlite.h"

namespace medrec::server::store {

std::int64_t addPrintHistory(SqlConnection db, const PrintHistoryEntry &e)
{
    Statement st(db, R"SQL(
        INSERT INTO print_history (printed_at, patno, key2, key3, key4, key5, kind_code,
                                   log_user, log_client, log_form, session_user, session_client, workstation)
        VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)
        RETURNING id)SQL");
    st.bind(1, e.printedAt.empty() ? localTimestamp() : e.printedAt);
    int i = 2;
    for (const std::string *v : {&e.patno, &e.key2, &e.key3, &e.key4, &e.key5, &e.kindCode, &e.logUser, &e.logClient,
                                 &e.logForm, &e.sessionUser, &e.sessionClient, &e.workstation})
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
               log_user, log_client, log_form, session_user, session_client, workstation
        FROM print_history ORDER BY id DESC LIMIT ?1)SQL");
    st.bind(1, limit == 0 ? std::int64_t{-1} : static_cast<std::int64_t>(limit));
    std::vector<PrintHistoryEntry> list;
    while (st.step()) {
        PrintHistoryEntry e;
        e.id = st.integer(0);
        int c = 1;
        for (std::string *v : {&e.printedAt, &e.patno, &e.key2, &e.key3, &e.key4, &e.key5, &e.kindCode, &e.logUser,
                               &e.logClient, &e.logForm, &e.sessionUser, &e.sessionClient, &e.workstation})
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
