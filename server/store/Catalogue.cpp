#include "Catalogue.h"

#include "Sqlite.h"

namespace medrec::server::store {

std::vector<Visit> listVisits(SqlConnection db, std::string_view patno, std::string_view fromDate)
{
    // visit_at is digits only, so comparing its first eight characters compares dates.
    Statement st(db, R"SQL(
        SELECT v.visit_at, v.kind, v.dept_code, coalesce(d.name, ''), coalesce(v.ward_code, ''),
               v.room_no, v.discharge_at, v.attending
        FROM visits v LEFT JOIN departments d ON d.code = v.dept_code
        WHERE v.patno = ?1 AND substr(v.visit_at, 1, 8) >= ?2
        ORDER BY v.visit_at DESC)SQL");
    st.bind(1, patno).bind(2, fromDate);
    std::vector<Visit> visits;
    while (st.step()) {
        visits.push_back(Visit{st.text(0), st.text(1), st.text(2), st.text(3), st.text(4), st.text(5), st.text(6),
                               st.text(7)});
    }
    return visits;
}

// The visits of a day (or minute) are asked for by their leading digits. Every text that
// starts with them sorts between them and them followed by the highest character, a range
// the visits index can seek to, rather than a test of every visit of the patient.
std::vector<RecordKind> listRecordKinds(SqlConnection db, std::string_view patno, std::string_view visitDigits)
{
    Statement st(db, R"SQL(
        SELECT k.code, k.name, k.form_code
        FROM record_kinds k
        WHERE k.code IN (SELECT r.kind_code FROM visits v JOIN records r ON r.visit_id = v.id
                         WHERE v.patno = ?1 AND v.visit_at >= ?2 AND v.visit_at < ?2 || char(1114111)
                           AND substr(v.visit_at, 1, length(?2)) = ?2)
        ORDER BY k.sort_order, k.code)SQL");
    st.bind(1, patno).bind(2, visitDigits);
    std::vector<RecordKind> kinds;
    while (st.step())
        kinds.push_back(RecordKind{st.text(0), st.text(1), st.text(2)});
    return kinds;
}

std::vector<RecordRow> listRecords(SqlConnection db, std::string_view kindCode, std::string_view patno,
                                   std::string_view visitDigits)
{
    Statement st(db, R"SQL(
        SELECT r.c0, r.c1, r.c2, r.c3, r.c4, r.c5, r.c6, r.c7, r.c8, r.c9, k.titles
        FROM records r
        JOIN visits v ON v.id = r.visit_id
        JOIN record_kinds k ON k.code = r.kind_code
        WHERE r.kind_code = ?1 AND v.patno = ?2 AND v.visit_at >= ?3 AND v.visit_at < ?3 || char(1114111)
          AND substr(v.visit_at, 1, length(?3)) = ?3
        ORDER BY v.visit_at, r.id)SQL");
    st.bind(1, kindCode).bind(2, patno).bind(3, visitDigits);
    std::vector<RecordRow> rows;
    while (st.step()) {
        RecordRow row;
        for (std::size_t i = 0; i < kRecordColumns; ++i)
            row.columns[i] = st.text(static_cast<int>(i));
        row.titles = st.text(static_cast<int>(kRecordColumns));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<ContentRow> recordContent(SqlConnection db, std::string_view kindCode, std::string_view patno,
                                      const std::array<std::string, 4> &keys)
{
    Statement st(db, R"SQL(
        SELECT c.row_no, c.field_no, c.value
        FROM records r JOIN record_content c ON c.record_id = r.id
        WHERE r.kind_code = ?1 AND r.c0 = ?2
          AND r.ck2 = ?3 AND r.ck3 = ?4 AND r.ck4 = ?5 AND r.ck5 = ?6
        ORDER BY c.row_no, c.field_no)SQL");
    st.bind(1, kindCode).bind(2, patno);
    for (int i = 0; i < 4; ++i)
        st.bind(3 + i, keys[static_cast<std::size_t>(i)]);
    std::vector<ContentRow> rows;
    std::int64_t currentRow = -1;
    while (st.step()) {
        const std::int64_t rowNo = st.integer(0);
        if (rows.empty() || rowNo != currentRow) {
            rows.emplace_back();
            currentRow = rowNo;
        }
        const auto field = static_cast<std::size_t>(st.integer(1));
        if (field >= 1 && field <= kContentFields)
            rows.back()[field - 1] = st.text(2);
    }
    return rows;
}

} // namespace medrec::server::store
