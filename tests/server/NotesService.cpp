#include "NotesService.h"

#include "client/Errors.h"

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
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    // Tells the caller whether the write ran inside its transaction.
    ctx.reply().addText("S_TYPE1", ctx.inTransaction() ? "in" : "out");
    if (rc != SQLITE_DONE)
        ctx.fail("저장하지 못했습니다.");
}

void NotesServerTest::startServer(std::function<void(server::ServiceRegistry &)> moreHandlers,
                                  std::function<void(server::ServerOptions &)> adjust)
{
    InProcessOptions options;
    options.prepareDatabase = createNotesTable;
    options.adjust = std::move(adjust);
    m_server = std::make_unique<InProcessServer>(
        [more = std::move(moreHandlers)](server::ServiceRegistry &r) {
            r.add("TS_NOTE_U1", insertNote);
            if (more)
                more(r);
        },
        options);
    m_env.port = m_server->port();
    m_env.fieldTable = defaultFieldTablePath();
    m_env.callTimeoutSeconds = 10;
}

std::unique_ptr<tp::client::ClientSession> NotesServerTest::join(const std::string &user)
{
    auto s = tp::client::ClientSession::join(m_env, user, "127.0.0.1", TPU_DIP);
    EXPECT_TRUE(s) << tp::client::lastErrorDetail();
    return s;
}

} // namespace medrec::testing
