#pragma once

// Code tables: departments, wards, the rooms of a ward, and the entries of a common-code
// group. Read-only; texts UTF-8; throws DbError when SQLite fails.

#include "PreparedStatements.h"
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace medrec::server::store {

struct CodeName
{
    std::string code;
    std::string name;
};

// In their sort order.
std::vector<CodeName> listDepartments(SqlConnection db);
std::vector<CodeName> listWards(SqlConnection db);
// The room numbers of the ward, in their sort order; none for an unknown ward.
std::vector<std::string> listRooms(SqlConnection db, std::string_view wardCode);

struct CommonCode
{
    std::string groupCode;
    std::string subCode;
    std::string code;
    std::string groupName;
    std::string shortName;
    std::string name;
    std::int64_t seq = 0;
    std::array<std::string, 8> texts{};    // "S_STRING7".."S_STRING14"
    std::array<std::int64_t, 5> counts{};  // "L_CNT1".."L_CNT5"
};

// The entries of one group and sub-code in their sequence; only the entry of that code
// when code is not empty.
std::vector<CommonCode> listCommonCodes(SqlConnection db, std::string_view groupCode, std::string_view subCode,
                                        std::string_view code);

} // namespace medrec::server::store
