#pragma once

// The data import: a JSON document (docs/data-format.md) into the database, all or
// nothing. Every item is checked before it is written; the first bad item stops the import,
// nothing of it stays, and the message names the item by its JSON path
// ("patients[3].visits[1].date") and says what is wrong with it.

#include <cstddef>
#include <string>
#include <string_view>

struct sqlite3;

namespace medrec::server::store {

struct ImportOptions
{
    // Empty the catalogue (patients, visits, records, codes, stored replies) first, in the
    // same transaction. The print history is never touched.
    bool replace = false;
};

struct ImportSummary
{
    std::size_t departments = 0;
    std::size_t wards = 0;
    std::size_t rooms = 0;
    std::size_t commonCodes = 0;
    std::size_t recordKinds = 0;
    std::size_t patients = 0;
    std::size_t visits = 0;
    std::size_t records = 0;
    std::size_t contentRows = 0;
    std::size_t serviceReplies = 0;
};

struct ImportResult
{
    bool ok = false;
    std::string error; // "<path>: <what is wrong>" when !ok
    ImportSummary summary;
};

// Imports the document into a database whose schema is current, on a connection in
// autocommit mode, as one transaction. Never throws for bad input or SQLite failures: they
// come back as !ok.
ImportResult importJson(sqlite3 *db, std::string_view json, const ImportOptions &options = {});

} // namespace medrec::server::store
