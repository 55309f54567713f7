#pragma once

// A table of notes and the service that writes one, for tests of transactions.

#include "ServiceRegistry.h"

struct sqlite3;

namespace medrec::testing {

// prepareDatabase: CREATE TABLE notes(text).
bool createNotesTable(sqlite3 *db, std::string *error);
// "TS_NOTE_U1": inserts the request's "S_STRING1" as a note; fails when the insert does.
void insertNote(server::ServiceContext &ctx);

} // namespace medrec::testing
