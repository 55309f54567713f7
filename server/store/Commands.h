#pragma once

// The store's subcommands of medrec-server:
//   import --db FILE [--replace] DATA.json   the data import, all or nothing
//   history --db FILE [--limit N]            the print history, newest first, tab-separated
// Each takes its arguments after the subcommand's name, writes its results to out and its
// messages to err, and returns the exit code: 0 done, 1 failed, 2 wrong usage.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

struct sqlite3;

namespace medrec::server::store {

int runImport(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
int runHistory(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// The history listing: a header line, then one line per row, newest first. Tabs, line
// breaks and backslashes inside values are written as \t, \n, \r and \\, so every row
// stays one line of exactly as many columns as the header. Throws DbError.
void writeHistory(sqlite3 *db, std::ostream &out, std::size_t limit = 0);

} // namespace medrec::server::store
