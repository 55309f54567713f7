#include "AccessAudit.h"

#include "Database.h"

#include <sqlite3.h>

namespace medrec::server {

namespace {

constexpr const char *kSchema = R"SQL(
CREATE TABLE IF NOT EXISTS access_audit (
    id          INTEGER PRIMARY KEY AUTOINCREMENT,
    at          TEXT NOT NULL,
    workstation TEXT NOT NULL,
    user_name   TEXT NOT NULL,
    service     TEXT NOT NULL,
    patno       TEXT NOT NULL
);
CREATE INDEX IF NOT EXISTS access_audit_by_patient ON access_audit(patno, id);
CREATE INDEX IF NOT EXISTS access_audit_by_time ON access_audit(at);
)SQL";

struct Finalize
{
    void operator()(sqlite3_stmt *st) const { sqlite3_finalize(st); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, Finalize>;

StatementPtr prepare(sqlite3 *db, const char *sql, std::string *error)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        *error = sqlite3_errmsg(db);
        return nullptr;
    }
    return StatementPtr(st);
}

void bindText(sqlite3_stmt *st, int index, const std::string &text)
{
    sqlite3_bind_text(st, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string column(sqlite3_stmt *st, int index)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(st, index));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(st, index))) : std::string();
}

// All rows of the batches in one transaction; false with *error (nothing written).
bool insert(sqlite3 *db, sqlite3_stmt *st, const std::vector<AuditRow> &rows, std::string *error)
{
    for (const AuditRow &row : rows) {
        sqlite3_reset(st);
        int i = 1;
        for (const std::string *v : {&row.at, &row.workstation, &row.user, &row.service, &row.patno})
            bindText(st, i++, *v);
        if (sqlite3_step(st) != SQLITE_DONE) {
            *error = sqlite3_errmsg(db);
            sqlite3_reset(st);
            return false;
        }
    }
    sqlite3_reset(st);
    return true;
}

} // namespace

std::string auditDatabasePath(const std::string &databasePath) { return databasePath + "-audit"; }

bool prepareAuditDatabase(sqlite3 *db, std::string *error)
{
    char *message = nullptr;
    if (sqlite3_exec(db, kSchema, nullptr, nullptr, &message) != SQLITE_OK) {
        *error = message ? message : "cannot create the audit table";
        sqlite3_free(message);
        return false;
    }
    return true;
}

std::unique_ptr<AccessAudit> AccessAudit::open(const std::string &databasePath, std::chrono::milliseconds busyTimeout,
                                               std::function<void(const std::string &)> failed, std::string *error)
{
    const std::string path = auditDatabasePath(databasePath);
    std::string why;
    sqlite3 *db = openDatabase(path, busyTimeout, &why);
    if (!db || !prepareAuditDatabase(db, &why)) {
        if (db)
            sqlite3_close_v2(db);
        *error = "access audit " + path + ": " + why;
        return nullptr;
    }
    return std::unique_ptr<AccessAudit>(new AccessAudit(db, std::move(failed)));
}

AccessAudit::AccessAudit(sqlite3 *db, std::function<void(const std::string &)> failed)
    : m_db(db), m_failed(std::move(failed)), m_thread([this] { run(); })
{
}

AccessAudit::~AccessAudit()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
    sqlite3_close_v2(m_db);
}

void AccessAudit::write(std::vector<AuditRow> rows, Done done)
{
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(Batch{std::move(rows), std::move(done)});
    }
    m_wake.notify_one();
}

void AccessAudit::run()
{
    std::string error;
    StatementPtr st = prepare(m_db,
                              "INSERT INTO access_audit (at, workstation, user_name, service, patno) "
                              "VALUES (?1, ?2, ?3, ?4, ?5)",
                              &error);
    for (;;) {
        std::vector<Batch> batches;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            batches.swap(m_queue);
        }
        // What queued while the last commit flushed goes in one commit together.
        std::string why = error;
        bool ok = st && execute(m_db, "BEGIN IMMEDIATE", &why);
        for (const Batch &batch : batches)
            ok = ok && insert(m_db, st.get(), batch.rows, &why);
        ok = ok && execute(m_db, "COMMIT", &why);
        if (!ok) {
            std::string ignored;
            execute(m_db, "ROLLBACK", &ignored);
        }
        std::vector<Batch> kept;
        for (Batch &batch : batches)
            if (batch.done)
                batch.done(ok, why);
            else if (!ok)
                kept.push_back(std::move(batch));
        if (ok)
            continue;
        if (m_failed)
            m_failed("access audit rows cannot be written, trying again in a second: " + why);
        std::unique_lock lock(m_mutex);
        kept.insert(kept.end(), std::make_move_iterator(m_queue.begin()), std::make_move_iterator(m_queue.end()));
        m_queue.swap(kept);
        if (m_stopping) {
            if (m_failed)
                m_failed("stopping: " + std::to_string(m_queue.size()) + " batches of access audit rows are lost");
            return;
        }
        m_wake.wait_for(lock, std::chrono::seconds(1), [this] { return m_stopping; });
    }
}

bool listAudit(sqlite3 *db, const std::string &patno, const std::string &since, std::vector<AuditRow> *rows,
               std::string *error)
{
    StatementPtr st = prepare(db,
                              "SELECT at, workstation, user_name, service, patno FROM access_audit "
                              "WHERE (?1 = '' OR patno = ?1) AND at >= ?2 ORDER BY id",
                              error);
    if (!st)
        return false;
    bindText(st.get(), 1, patno);
    bindText(st.get(), 2, since);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW)
        rows->push_back(AuditRow{column(st.get(), 0), column(st.get(), 1), column(st.get(), 2), column(st.get(), 3),
                                 column(st.get(), 4)});
    if (rc != SQLITE_DONE) {
        *error = sqlite3_errmsg(db);
        return false;
    }
    return true;
}

} // namespace medrec::server
