#pragma once

// The record catalogue: a patient's visits, the record kinds written in a visit, the
// records of one kind, and the content rows of one record. Read-only queries on a
// connection the caller owns; texts are UTF-8; every query binds its inputs. Throws
// DbError when SQLite fails.

#include "PreparedStatements.h"
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace medrec::server::store {

struct Visit
{
    std::string visitAt;     // YYYYMMDDHHNN or YYYYMMDDHHNNSS
    std::string kind;        // "I" admission, "O" outpatient, "E" emergency
    std::string deptCode;
    std::string deptName;
    std::string wardCode;    // empty when none
    std::string roomNo;
    std::string dischargeAt; // empty while the patient is in
    std::string attending;
};

// The patient's visits on or after fromDate (YYYYMMDD; empty: all), newest first.
std::vector<Visit> listVisits(SqlConnection db, std::string_view patno, std::string_view fromDate);

struct RecordKind
{
    std::string code;
    std::string name;
    std::string formCode;
};

// The record kinds that have records in the patient's visits whose date-time digits start
// with visitDigits (a date YYYYMMDD takes every visit of that day; full digits one visit),
// in catalogue order.
std::vector<RecordKind> listRecordKinds(SqlConnection db, std::string_view patno, std::string_view visitDigits);

inline constexpr std::size_t kRecordColumns = 10;

struct RecordRow
{
    std::array<std::string, kRecordColumns> columns; // grid columns 0..9
    std::string titles;                              // the kind's title line ("a|b|...")
};

// The records of one kind in the visits matched as for listRecordKinds, in visit order and,
// within a visit, in the order they were written.
std::vector<RecordRow> listRecords(SqlConnection db, std::string_view kindCode, std::string_view patno,
                                   std::string_view visitDigits);

inline constexpr std::size_t kContentFields = 60;
using ContentRow = std::array<std::string, kContentFields>; // field n is element n - 1

// The content rows of the record of this kind and patient whose content key is exactly
// keys (the four further keys the client sends); no rows when there is none.
std::vector<ContentRow> recordContent(SqlConnection db, std::string_view kindCode, std::string_view patno,
                                      const std::array<std::string, 4> &keys);

} // namespace medrec::server::store
