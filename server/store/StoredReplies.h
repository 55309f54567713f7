#pragma once

// Reply rows kept for services that have no tables of their own: the record-kind services
// that later kinds bring (an assessment sheet, a flowsheet, ...) store their rows here,
// found by the service name and the values of the request's key fields. A new kind thus
// adds its handler and its data, not a new table or import mechanism.

#include "PreparedStatements.h"
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct sqlite3;

namespace medrec::server::store {

// Key fields by name ("S_PATNO" -> "00001234"), UTF-8 values.
using ReplyKey = std::map<std::string, std::string, std::less<>>;
// One reply row: its fields by name, UTF-8 values ("L_" fields hold decimal text).
using ReplyRow = std::map<std::string, std::string, std::less<>>;

// The canonical text of a key: a JSON object with its names sorted.
std::string replyKeyText(const ReplyKey &key);

// The rows stored for the service under this key, in row order; none when there are none.
// Throws DbError.
std::vector<ReplyRow> storedReply(SqlConnection db, std::string_view service, const ReplyKey &key);

// Stores the rows; throws DbError (a constraint error when the service and key already
// have rows).
void addStoredReply(sqlite3 *db, std::string_view service, const ReplyKey &key, const std::vector<ReplyRow> &rows);

} // namespace medrec::server::store
