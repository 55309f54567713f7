#include "NotesService.h"

#include <sqlite3.h>

namespace medrec::testing {

bool createNotesTable(sqlite3 *db, std::string *error)
{
    char *message = nullptr;
    if (sqlite3_exec(db, "CREATE TABLE IF NOT EXISTS notes(text TEXT)", nullptr, nullptr, &message) != SQLITE_OK) {
        *error = message ? message : "?";
        sqlite3_free(message);
        return false;
    }
    return true;
}

void insertNote(server::ServiceContext &ctx)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(ctx.db(), "INSERT INTO notes(text) VALUES (?)", -1, &stmt, nullptr);
    std::string text = ctx.request().text("S_STRING1");
    sqlite3_bind_text(stmt, 1, text.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(stmt) != SQLITE_DONE)
        ctx.fail("저장하지 못했습니다.");
    sqlite3_finalize(stmt);
}

} // namespace medrec::testing
