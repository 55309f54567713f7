// The print history over loopback: only inside a transaction, durable once committed,
// gone when the commit fails, and exact under concurrent writers.

#include "ServiceFixture.h"

#include "Sqlite.h"
#include "client/Errors.h"
#include "client/FieldTables.h"

#include <signal.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

namespace medrec::server::store::testing {
namespace {

using HistoryServiceTest = ServiceTest;

const HistoryRow kOperation{"00001001", "20150303", "1", "empty", "empty", "MDOPRECT"};

TEST_F(HistoryServiceTest, CommittedRowHoldsTheSixValuesAndTheCaller)
{
    const Outcome o = writeHistory(session(), kOperation);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    EXPECT_EQ(o.statlin, "출력 이력 1건이 저장되었습니다.");
    ASSERT_EQ(historyRows(), 1);
    EXPECT_EQ(server().queryText("SELECT patno || '/' || key2 || '/' || key3 || '/' || key4 || '/' || key5 || '/' || "
                                 "kind_code FROM print_history"),
              "00001001/20150303/1/empty/empty/MDOPRECT");
    EXPECT_EQ(server().queryText("SELECT log_user || '/' || log_client || '/' || log_form || '/' || session_user || "
                                 "'/' || session_client FROM print_history"),
              "MDUSER/10.1.20.3/MDG300F1/MDUSER/10.1.20.3");
    EXPECT_EQ(server().queryText("SELECT length(printed_at) FROM print_history"), "23");
}

TEST_F(HistoryServiceTest, KindWithoutFurtherValuesCarriesEmpty)
{
    const HistoryRow row{"00001001", "20150302", "empty", "empty", "empty", "MDPGNOTT"};
    ASSERT_EQ(writeHistory(session(), row).rc, 0);
    EXPECT_EQ(server().queryText("SELECT key3 || key4 || key5 FROM print_history"), "emptyemptyempty");
}

TEST_F(HistoryServiceTest, OutsideATransactionIsRefusedAndWritesNothing)
{
    Buffer b;
    b.set("S_STRING1", "00001001").set("S_STRING2", "1").set("S_STRING3", "empty").set("S_STRING4", "empty");
    b.set("S_STRING5", "empty").set("S_STRING8", "MDOPRECT");
    const Outcome o = call("MD_RECOD_U1", b, TPNOTRAN);
    EXPECT_EQ(o.rc, -1);
    EXPECT_EQ(o.error, TPESVCFAIL);
    EXPECT_EQ(o.userCode, -1);
    EXPECT_NE(o.statlin.find("트랜잭션 안에서만"), std::string::npos) << o.statlin;
    EXPECT_EQ(historyRows(), 0);
}

TEST_F(HistoryServiceTest, AbortedOrRefusedRowsLeaveNothing)
{
    // Aborted after a successful call.
    Buffer b;
    b.set("S_STRING1", "00001001").set("S_STRING2", "1").set("S_STRING3", "x").set("S_STRING4", "y");
    b.set("S_STRING5", "z").set("S_STRING8", "MDOPRECT");
    ASSERT_EQ(session().begin(10, 0), 0);
    ASSERT_EQ(call("MD_RECOD_U1", b, 0).rc, 0);
    ASSERT_EQ(session().abort(0), 0);
    EXPECT_EQ(historyRows(), 0);

    struct Case
    {
        std::vector<std::pair<const char *, std::string>> fields;
        const char *statlin;
    };
    const std::vector<Case> cases = {
        {{{"S_STRING2", "1"}}, "저장할 값이 없습니다"},
        {{{"S_STRING1", "00001001"}, {"S_STRING2", "1"}, {"S_STRING3", "e"}, {"S_STRING4", "e"}, {"S_STRING5", "e"}},
         "S_STRING8): 값이 0개로"},
        {{{"S_STRING1", ""}, {"S_STRING2", "1"}, {"S_STRING3", "e"}, {"S_STRING4", "e"}, {"S_STRING5", "e"},
          {"S_STRING8", "MDOPRECT"}},
         "출력 이력(S_STRING1): 값이 입력되지 않았습니다."},
        {{{"S_STRING1", "00001001"}, {"S_STRING2", std::string(101, 'x')}, {"S_STRING3", "e"}, {"S_STRING4", "e"},
          {"S_STRING5", "e"}, {"S_STRING8", "MDOPRECT"}},
         "출력 이력(S_STRING2): 값이 너무 깁니다"},
        {{{"S_STRING1", "00001001"}, {"S_STRING2", "\xFF"}, {"S_STRING3", "e"}, {"S_STRING4", "e"}, {"S_STRING5", "e"},
          {"S_STRING8", "MDOPRECT"}},
         "올바른 한글(CP949)"},
        {{{"S_STRING1", "00001001'); DELETE FROM print_history; --"}, {"S_STRING2", "1"}, {"S_STRING3", "e"},
          {"S_STRING4", "e"}, {"S_STRING5", "e"}, {"S_STRING8", "MDOPRECT"}, {"LOG_USERNAME", std::string(120, 'u')}},
         "사용자(LOG_USERNAME): 값이 너무 깁니다"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.statlin);
        Buffer r;
        for (const auto &[field, bytes] : c.fields)
            r.setRaw(field, bytes);
        ASSERT_EQ(session().begin(10, 0), 0);
        const Outcome o = call("MD_RECOD_U1", r, 0);
        EXPECT_EQ(o.rc, -1);
        EXPECT_EQ(o.userCode, 0);
        EXPECT_NE(o.statlin.find(c.statlin), std::string::npos) << o.statlin;
        session().abort(0);
    }
    EXPECT_EQ(historyRows(), 0);
}

TEST_F(HistoryServiceTest, SeveralRowsInOneCallAndQuotesStoredAsText)
{
    Buffer b;
    const char *fields[] = {"S_STRING1", "S_STRING2", "S_STRING3", "S_STRING4", "S_STRING5", "S_STRING8"};
    for (int r = 0; r < 2; ++r) {
        for (const char *f : fields)
            b.set(f, std::string(f) == "S_STRING1" ? "00001001" : "x' OR '1'='1", r);
    }
    ASSERT_EQ(session().begin(10, 0), 0);
    const Outcome o = call("MD_RECOD_U1", b, 0);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    EXPECT_EQ(b.integer("L_CNT1"), 2);
    ASSERT_EQ(session().commit(0), 0);
    EXPECT_EQ(historyRows(), 2);
    EXPECT_EQ(server().queryText("SELECT count(*) FROM print_history WHERE kind_code = 'x'' OR ''1''=''1'"), "2");
}

TEST_F(HistoryServiceTest, FailingWriteOrCommitLeavesNoRow)
{
    // A write the database refuses at once: the call fails, the print run aborts.
    sql("CREATE TRIGGER refuse_history BEFORE INSERT ON print_history BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    Outcome o = writeHistory(session(), kOperation);
    EXPECT_EQ(o.rc, -1);
    EXPECT_EQ(o.userCode, -1);
    EXPECT_NE(o.statlin.find("데이터베이스 처리 중 오류"), std::string::npos) << o.statlin;
    EXPECT_EQ(historyRows(), 0);
    sql("DROP TRIGGER refuse_history;");

    // A write the database refuses only at COMMIT (a deferred constraint): the call
    // succeeds, the commit fails, and the row is gone.
    sql("CREATE TABLE guard_parent (id INTEGER PRIMARY KEY);"
        "CREATE TABLE guard_child (pid INTEGER REFERENCES guard_parent(id) DEFERRABLE INITIALLY DEFERRED);"
        "CREATE TRIGGER guard_history AFTER INSERT ON print_history BEGIN INSERT INTO guard_child VALUES (NEW.id); END;");
    Buffer b;
    b.set("S_STRING1", "00001001").set("S_STRING2", "1").set("S_STRING3", "empty").set("S_STRING4", "empty");
    b.set("S_STRING5", "empty").set("S_STRING8", "MDOPRECT");
    ASSERT_EQ(session().begin(10, 0), 0);
    o = call("MD_RECOD_U1", b, 0);
    ASSERT_EQ(o.rc, 0) << o.statlin;
    EXPECT_EQ(session().commit(0), -1);
    session().abort(0);
    EXPECT_EQ(historyRows(), 0);

    // The same session writes again once the database accepts.
    sql("DROP TRIGGER guard_history;");
    EXPECT_EQ(writeHistory(session(), kOperation).rc, 0);
    EXPECT_EQ(historyRows(), 1);
}

TEST_F(HistoryServiceTest, EightClientsWritingAtOnceLeaveEveryRow)
{
    constexpr int kClients = 8;
    constexpr int kRowsEach = 200;
    const std::string env = server().writeEnvironment();
    std::atomic<int> failures{0};
    std::vector<std::string> firstFailure(kClients);
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            try {
                auto s = joinSession(env, "USER" + std::to_string(c), "10.0.0." + std::to_string(c));
                for (int i = 0; i < kRowsEach; ++i) {
                    const HistoryRow row{"0000100" + std::to_string(c), std::to_string(i), "empty", "empty", "empty",
                                         "MDOPRECT"};
                    const Outcome o = writeHistory(*s, row);
                    if (o.rc != 0) {
                        // One failure tells enough; stop this client.
                        failures++;
                        firstFailure[static_cast<std::size_t>(c)] = o.statlin;
                        break;
                    }
                }
            } catch (const std::exception &e) {
                failures++;
                firstFailure[static_cast<std::size_t>(c)] = e.what();
            }
        });
    }
    for (auto &t : clients)
        t.join();
    EXPECT_EQ(failures.load(), 0) << [&] {
        std::string all;
        for (const auto &f : firstFailure)
            all += f + "; ";
        return all;
    }();
    EXPECT_EQ(historyRows(), kClients * kRowsEach);
    EXPECT_EQ(server().queryText("SELECT count(DISTINCT patno || '/' || key2) FROM print_history"),
              std::to_string(kClients * kRowsEach));
}

TEST(HistoryDurabilityTest, CommittedRowSurvivesSigkillAtOnce)
{
    tp::client::installFieldTable(medrec::testing::loadDefaultFieldTable());
    medrec::testing::ServerProcess process;
    const std::string env = medrec::testing::writeSiteEnvironment(process.directory(), "127.0.0.1", process.port());
    {
        auto s = joinSession(env, "MDUSER", "10.1.20.3");
        const Outcome o = writeHistory(*s, kOperation);
        ASSERT_EQ(o.rc, 0) << o.statlin;
        // No grace: the process dies the moment the commit has returned.
        ASSERT_EQ(::kill(process.pid(), SIGKILL), 0);
    }
    const int status = process.stop();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    Connection db(process.databasePath(), Connection::Mode::ReadWrite);
    Statement st(db.get(), "SELECT patno, kind_code FROM print_history");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.text(0), "00001001");
    EXPECT_EQ(st.text(1), "MDOPRECT");
    EXPECT_FALSE(st.step());
}

// Waits until the process is stopped (state T in /proc), at most 5 s.
bool waitUntilStopped(pid_t pid)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        std::getline(stat, line);
        const std::size_t close = line.rfind(')');
        if (close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'T')
            return true;
        std::this_thread::yield();
    }
    return false;
}

class StoppedServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tp::client::installFieldTable(medrec::testing::loadDefaultFieldTable());
        m_env = medrec::testing::writeSiteEnvironment(m_process.directory(), "127.0.0.1", m_process.port(),
                                                      medrec::testing::defaultFieldTablePath(), {"CALL_TIMEOUT=1"});
    }
    void TearDown() override { ::kill(m_process.pid(), SIGCONT); }

    void stopServer()
    {
        ASSERT_EQ(::kill(m_process.pid(), SIGSTOP), 0);
        ASSERT_TRUE(waitUntilStopped(m_process.pid()));
    }
    void continueServer() { ASSERT_EQ(::kill(m_process.pid(), SIGCONT), 0); }

    long long rows()
    {
        Connection db(m_process.databasePath(), Connection::Mode::ReadOnly);
        Statement st(db.get(), "SELECT count(*) FROM print_history");
        return st.step() ? st.integer(0) : -1;
    }

    medrec::testing::ServerProcess m_process;
    std::string m_env;
};

TEST_F(StoppedServerTest, AWriteThatTimedOutIsNeverCommittedAndARetryWritesOnce)
{
    auto s = joinSession(m_env, "MDUSER", "10.1.20.3");
    Buffer b;
    b.set("S_STRING1", "00001001").set("S_STRING2", "20150303").set("S_STRING3", "1").set("S_STRING4", "empty");
    b.set("S_STRING5", "empty").set("S_STRING8", "MDOPRECT");
    ASSERT_EQ(s->begin(10, 0), 0);
    stopServer();
    const Outcome timedOut = call(*s, "MD_RECOD_U1", b, 0);
    EXPECT_EQ(timedOut.rc, -1);
    EXPECT_EQ(timedOut.error, TPETIME);
    continueServer();
    EXPECT_EQ(s->commit(0), -1);
    EXPECT_EQ(tp::client::lastError(), TPEABORT);

    // The operator prints again: exactly one row, the late write of the first try gone.
    const Outcome retried = writeHistory(*s, kOperation);
    ASSERT_EQ(retried.rc, 0) << retried.statlin;
    EXPECT_EQ(rows(), 1);
}

TEST_F(StoppedServerTest, ABeginThatTimedOutHoldsNoLockAfterwards)
{
    auto s = joinSession(m_env, "MDUSER", "10.1.20.3");
    stopServer();
    EXPECT_EQ(s->begin(10, 0), -1);
    EXPECT_EQ(tp::client::lastError(), TPETIME);
    continueServer();

    // Another workstation, waiting one second, gets the write lock: the transaction the
    // server opened late for the first was rolled back at once.
    auto other = joinSession(m_env, "OTHER", "10.1.20.4");
    const Outcome o = writeHistory(*other, kOperation);
    EXPECT_EQ(o.rc, 0) << o.statlin << tp::client::lastErrorDetail();
    EXPECT_EQ(writeHistory(*s, kOperation).rc, 0) << tp::client::lastErrorDetail();
    EXPECT_EQ(rows(), 2);
}

} // namespace
} // namespace medrec::server::store::testing
