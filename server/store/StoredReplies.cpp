#include "StoredReplies.h"

#include "Sqlite.h"

#include <nlohmann/json.hpp>

namespace medrec::server::store {

std::string replyKeyText(const ReplyKey &key)
{
    nlohmann::json object = nlohmann::json::object();
    for (const auto &[name, value] : key)
        object[name] = value;
    // nlohmann's object keeps its names sorted, so equal keys give equal texts.
    return object.dump();
}

std::vector<ReplyRow> storedReply(SqlConnection db, std::string_view service, const ReplyKey &key)
{
    Statement st(db, R"SQL(
        SELECT f.row_no, f.field, f.value
        FROM service_replies r JOIN service_reply_fields f ON f.reply_id = r.id
        WHERE r.service = ?1 AND r.key_text = ?2
        ORDER BY f.row_no, f.field)SQL");
    st.bind(1, service).bind(2, replyKeyText(key));
    std::vector<ReplyRow> rows;
    std::int64_t current = -1;
    while (st.step()) {
        const std::int64_t rowNo = st.integer(0);
        if (rows.empty() || rowNo != current) {
            rows.emplace_back();
            current = rowNo;
        }
        rows.back()[st.text(1)] = st.text(2);
    }
    return rows;
}

void addStoredReply(sqlite3 *db, std::string_view service, const ReplyKey &key, const std::vector<ReplyRow> &rows)
{
    Statement head(db, "INSERT INTO service_replies (service, key_text) VALUES (?1, ?2) RETURNING id");
    head.bind(1, service).bind(2, replyKeyText(key));
    if (!head.step())
        throw DbError("insert service_replies: no row id returned", 0);
    const std::int64_t id = head.integer(0);
    head.run();

    Statement field(db, "INSERT INTO service_reply_fields (reply_id, row_no, field, value) VALUES (?1, ?2, ?3, ?4)");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (const auto &[name, value] : rows[r]) {
            field.reset();
            field.bind(1, id).bind(2, static_cast<std::int64_t>(r)).bind(3, name).bind(4, value);
            field.run();
        }
    }
}

} // namespace medrec::server::store
