#pragma once

// The access audit: who read or wrote which patient's data. One row per patient a call
// touched: the time, the workstation (its certificate's subject), the user name the
// session joined with, the service and the patient number.
//
// The rows live in a database file of their own beside the service host's
// (auditDatabasePath), in WAL mode with full synchronisation like the print history, so
// that writing them never waits for the write lock a workstation's open transaction holds
// on the main file. One writer thread commits whatever has queued up in one transaction:
// rows arriving together share one disk flush, and a read never waits for one (a flush
// costs milliseconds, a read tens of microseconds). A read's rows are on the disk one
// flush after its reply; a stop (SIGTERM) writes all that is queued, a power cut can lose
// the rows of that last flush. A write's rows (the print history) are on the disk before
// its reply, as the history row itself is at its commit. Rows that cannot be written are
// kept and tried again every second, and each failure is logged.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct sqlite3;

namespace medrec::server {

struct AuditRow
{
    std::string at; // local time, YYYY-MM-DD HH:MM:SS.mmm
    std::string workstation;
    std::string user;
    std::string service;
    std::string patno;
};

// "<database>-audit".
std::string auditDatabasePath(const std::string &databasePath);

class AccessAudit
{
public:
    using Done = std::function<void(bool written, const std::string &error)>;

    // Opens (creating) the audit file of the database; null with *error. failed is told
    // (on the writer thread) why rows could not be written.
    static std::unique_ptr<AccessAudit> open(const std::string &databasePath, std::chrono::milliseconds busyTimeout,
                                             std::function<void(const std::string &)> failed, std::string *error);
    // Commits what is queued, then stops.
    ~AccessAudit();
    AccessAudit(const AccessAudit &) = delete;
    AccessAudit &operator=(const AccessAudit &) = delete;

    // Queues the rows; done (may be empty) runs on the writer thread once they are on the
    // disk, or could not be written (they are then dropped: the caller refuses the call).
    // Without done the rows are kept until they are written.
    void write(std::vector<AuditRow> rows, Done done);

private:
    AccessAudit(sqlite3 *db, std::function<void(const std::string &)> failed);
    void run();

    struct Batch
    {
        std::vector<AuditRow> rows;
        Done done;
    };
    sqlite3 *m_db;
    std::function<void(const std::string &)> m_failed;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<Batch> m_queue;
    bool m_stopping = false;
    std::thread m_thread;
};

// Creates the audit table in db when it is not there.
bool prepareAuditDatabase(sqlite3 *db, std::string *error);

// The rows of one patient (empty: all) from a time on (a prefix of the time text such as
// "2026-12-10", empty: all), oldest first. False with *error.
bool listAudit(sqlite3 *db, const std::string &patno, const std::string &since, std::vector<AuditRow> *rows,
               std::string *error);

} // namespace medrec::server
