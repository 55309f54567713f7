#include "Codes.h"

#include "Sqlite.h"

namespace medrec::server::store {

namespace {

std::vector<CodeName> codeNames(SqlConnection db, std::string_view sql)
{
    Statement st(db, sql);
    std::vector<CodeName> list;
    while (st.step())
        list.push_back(CodeName{st.text(0), st.text(1)});
    return list;
}

} // namespace

std::vector<CodeName> listDepartments(SqlConnection db)
{
    return codeNames(db, "SELECT code, name FROM departments ORDER BY sort_order, code");
}

std::vector<CodeName> listWards(SqlConnection db)
{
    return codeNames(db, "SELECT code, name FROM wards ORDER BY sort_order, code");
}

std::vector<std::string> listRooms(SqlConnection db, std::string_view wardCode)
{
    Statement st(db, "SELECT room_no FROM rooms WHERE ward_code = ?1 ORDER BY sort_order, room_no");
    st.bind(1, wardCode);
    std::vector<std::string> rooms;
    while (st.step())
        rooms.push_back(st.text(0));
    return rooms;
}

std::vector<CommonCode> listCommonCodes(SqlConnection db, std::string_view groupCode, std::string_view subCode,
                                        std::string_view code)
{
    Statement st(db, R"SQL(
        SELECT c.group_code, c.sub_code, c.code, g.name, c.short_name, c.name, c.seq,
               c.text7, c.text8, c.text9, c.text10, c.text11, c.text12, c.text13, c.text14,
               c.cnt1, c.cnt2, c.cnt3, c.cnt4, c.cnt5
        FROM common_codes c
        JOIN common_code_groups g ON g.group_code = c.group_code AND g.sub_code = c.sub_code
        WHERE c.group_code = ?1 AND c.sub_code = ?2 AND (?3 = '' OR c.code = ?3)
        ORDER BY c.seq, c.code)SQL");
    st.bind(1, groupCode).bind(2, subCode).bind(3, code);
    std::vector<CommonCode> list;
    while (st.step()) {
        CommonCode c;
        c.groupCode = st.text(0);
        c.subCode = st.text(1);
        c.code = st.text(2);
        c.groupName = st.text(3);
        c.shortName = st.text(4);
        c.name = st.text(5);
        c.seq = st.integer(6);
        for (int i = 0; i < 8; ++i)
            c.texts[static_cast<std::size_t>(i)] = st.text(7 + i);
        for (int i = 0; i < 5; ++i)
            c.counts[static_cast<std::size_t>(i)] = st.integer(15 + i);
        list.push_back(std::move(c));
    }
    return list;
}

} // namespace medrec::server::store
