#pragma once

// The print history: one row per printed copy, written by the print-history service
// inside the caller's transaction, and listed by the "history" command.

#include "LocalTime.h"
#include "PreparedStatements.h"
#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

namespace medrec::server::store {

struct PrintHistoryEntry
{
    std::int64_t id = 0;    // assigned on insert, increasing
    std::string printedAt;  // local time, YYYY-MM-DD HH:MM:SS.mmm
    std::string patno;      // "S_STRING1"
    std::string key2;       // "S_STRING2"
    std::string key3;       // "S_STRING3"
    std::string key4;       // "S_STRING4"
    std::string key5;       // "S_STRING5"
    std::string kindCode;   // "S_STRING8"
    std::string logUser;    // "LOG_USERNAME" of the request
    std::string logClient;  // "LOG_CLTNAME"
    std::string logForm;    // "LOG_FORMNAME"
    std::string sessionUser;
    std::string sessionClient;
    std::string workstation; // the subject of the workstation's certificate; empty on plain TCP
};

// The current local time in the form printedAt holds.
using server::localTimestamp;

// Inserts the row; it becomes durable when the caller's transaction commits. Returns the
// new row's id. Throws DbError.
std::int64_t addPrintHistory(SqlConnection db, const PrintHistoryEntry &entry);

// Newest first (by id, which follows the order of writing); all rows when limit is 0.
std::vector<PrintHistoryEntry> listPrintHistory(sqlite3 *db, std::size_t limit = 0);

std::int64_t countPrintHistory(sqlite3 *db);

} // namespace medrec::server::store
