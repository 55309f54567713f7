#pragma once

// The database layout of the service host and its version.
//
// prepareSchema brings an empty database up to the current layout, brings one of an
// older layout up to it (version 1 had no workstation identity in the print history), and
// accepts one that is already there. A database of a newer layout, or one that holds other tables and no
// layout version, is refused: the server must not write into something it does not know.

#include <string>

struct sqlite3;

namespace medrec::server::store {

inline constexpr int kSchemaVersion = 2;

// Creates the tables on an empty database (inside one transaction), or checks the version
// of an existing one. Returns false with *error set when the database is refused; throws
// DbError when SQLite fails.
bool prepareSchema(sqlite3 *db, std::string *error);

// The layout version the database holds (0 for an empty or foreign one). Throws DbError.
int schemaVersion(sqlite3 *db);

} // namespace medrec::server::store
