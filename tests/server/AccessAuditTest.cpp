// The access audit's writer: rows from many sessions at once all reach the file, those
// queued at a stop included; a waited-for batch is told when it is on the disk; listing
// by patient and by time.

#include "AccessAudit.h"
#include "TestSupport.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace medrec::testing {
namespace {

std::vector<server::AuditRow> list(const std::string &db, const std::string &patno, const std::string &since)
{
    sqlite3 *handle = nullptr;
    EXPECT_EQ(sqlite3_open(server::auditDatabasePath(db).c_str(), &handle), SQLITE_OK);
    std::vector<server::AuditRow> rows;
    std::string error;
    EXPECT_TRUE(server::listAudit(handle, patno, since, &rows, &error)) << error;
    sqlite3_close(handle);
    return rows;
}

TEST(AccessAuditTest, RowsFromManySessionsAllReachTheFileAndAStopWritesWhatIsQueued)
{
    TempDir dir;
    const std::string db = dir.file("medrec.db");
    std::atomic<int> confirmed{0};
    {
        std::string error;
        auto audit = server::AccessAudit::open(db, std::chrono::seconds(5), {}, &error);
        ASSERT_TRUE(audit) << error;
        std::vector<std::thread> sessions;
        for (int s = 0; s < 8; ++s)
            sessions.emplace_back([&, s] {
                for (int i = 0; i < 200; ++i)
                    audit->write({{"2026-12-10 09:00:00.000", "CN=ws" + std::to_string(s), "NURSE", "MD_RECOD_L1",
                                   i % 2 ? "00001234" : "00005678"}},
                                 {});
            });
        for (auto &t : sessions)
            t.join();
        audit->write({{"2026-12-11 10:00:00.000", "CN=ws0", "COURT", "MD_RECOD_U1", "00001234"}},
                     [&](bool written, const std::string &) { confirmed += written ? 1 : -100; });
    }
    EXPECT_EQ(confirmed.load(), 1);
    EXPECT_EQ(list(db, "", "").size(), 1601u);
    EXPECT_EQ(list(db, "00001234", "").size(), 801u);
    const auto late = list(db, "", "2026-12-11");
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].service, "MD_RECOD_U1");
    EXPECT_EQ(late[0].user, "COURT");
}

} // namespace
} // namespace medrec::testing
