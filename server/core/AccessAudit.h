#pragma once

// The access audit: who read or wrote which patient's data. One row per patient a call
// touched: the time, the workstation (its certificate's subject), the user name the
// session joined with, the service and the patient number.
//
// The rows live in a database file of their own beside the service host's
// (auditDatabasePath), in WAL mode with full synchronisation like the print history, so
// that writing them never waits for the write lock a workstation's open transaction holds
// on the main file. One writer thread commits whatever has queued up in one transaction:
// reads arriving together share one disk flush. A call's reply waits for its rows'
// commit, so no patient's data leaves the host without its audit row on the disk.

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

    // Opens (creating) the audit file of the database; null with *error.
    static std::unique_ptr<AccessAudit> open(const std::string &databasePath, std::chrono::milliseconds busyTimeout,
                                             std::string *error);
    // Commits what is queued, then stops.
    ~AccessAudit();
    AccessAudit(const AccessAudit &) = delete;
    AccessAudit &operator=(const AccessAudit &) = delete;

    // Queues the rows; done runs on the writer thread once they are on the disk, or could
    // not be written.
    void write(std::vector<AuditRow> rows, Done done);

private:
    explicit AccessAudit(sqlite3 *db);
    void run();

    struct Batch
    {
        std::vector<AuditRow> rows;
        Done done;
    };
    sqlite3 *m_db;
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
