// The medrec-server program as a service: its log levels, its configuration file and a
// clean stop on SIGTERM, through the real program, a real session and a real SQLite file.

#include "Importer.h"
#include "ServiceClient.h"
#include "SmallCatalogue.h"
#include "Sqlite.h"
#include "TestSupport.h"
#include "client/FieldTables.h"

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace medrec::server::store::testing {

namespace {

using medrec::testing::ServerProcess;


long long countRows(const std::string &databasePath, const char *table)
{
    Connection db(databasePath, Connection::Mode::ReadOnly);
    sqlite3_stmt *stmt = nullptr;
    const std::string sql = std::string("SELECT count(*) FROM ") + table;
    long long n = -1;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        n = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return n;
}

void importSmallCatalogue(const std::string &databasePath)
{
    Connection db(databasePath, Connection::Mode::ReadWrite);
    const ImportResult r = importJson(db.get(), kSmallCatalogue);
    ASSERT_TRUE(r.ok) << r.error;
}

bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

// One session that makes one successful and one failing call, then leaves.
void oneSessionWithAFailure(const ServerProcess &server)
{
    const std::string env = medrec::testing::writeSiteEnvironment(server.directory(), "127.0.0.1", server.port());
    auto session = joinSession(env, "LOGUSER", "10.1.20.3");
    ASSERT_TRUE(session);
    Buffer ping;
    ping.set("S_STRING1", "x");
    EXPECT_EQ(call(*session, "TP_PING", ping).rc, 0);
    Buffer missing;
    EXPECT_EQ(call(*session, "MD_NOSUCH_S1", missing).rc, -1);
    session->term();
}

// The client side reads the field table the server is started with.
class ServiceHost : public ::testing::Test
{
protected:
    void SetUp() override { tp::client::installFieldTable(medrec::testing::loadDefaultFieldTable()); }
};

} // namespace

TEST_F(ServiceHost, SigtermRollsBackTheOpenTransactionAndClosesTheDatabase)
{
    ServerProcess server(medrec::testing::ServerProcessOptions{{}, {}, true});
    importSmallCatalogue(server.databasePath());
    const std::string env = medrec::testing::writeSiteEnvironment(server.directory(), "127.0.0.1", server.port());
    auto session = joinSession(env, "MDUSER", "10.1.20.3");
    ASSERT_TRUE(session);

    Buffer b;
    b.set("S_STRING1", "00001001").set("S_STRING2", "1").set("S_STRING3", "x").set("S_STRING4", "y");
    b.set("S_STRING5", "z").set("S_STRING8", "MDOPRECT").log("MDUSER", "10.1.20.3", "MDG300F1");
    ASSERT_EQ(session->begin(30, 0), 0);
    ASSERT_EQ(call(*session, "MD_RECOD_U1", b, 0).rc, 0);

    const int status = server.stop(); // SIGTERM while the row is written but not committed
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // The last connection to close checkpoints and removes the write-ahead log.
    EXPECT_FALSE(std::filesystem::exists(server.databasePath() + "-wal"));
    EXPECT_EQ(countRows(server.databasePath(), "print_history"), 0);

    const std::string log = server.log();
    EXPECT_TRUE(contains(log, "SIGTERM received, stopping")) << log;
    EXPECT_TRUE(contains(log, "rolled back: server stopping")) << log;
    EXPECT_TRUE(contains(log, "info: stopped; database " + server.databasePath() + " closed")) << log;
    EXPECT_LT(log.find("rolled back"), log.find("database " + server.databasePath() + " closed")) << log;
}

TEST_F(ServiceHost, LogsSessionsAndFailuresAtTheirLevels)
{
    struct Case
    {
        std::vector<std::string> args;
        bool sessionLines, failureLine, callLines;
    };
    const Case cases[] = {
        {{}, true, true, false},
        {{"--log-level", "debug"}, true, true, true},
        {{"--log-level", "warning"}, false, true, false},
        {{"--quiet"}, false, false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.empty() ? "default" : c.args[0]);
        ServerProcess server(medrec::testing::ServerProcessOptions{c.args, {}, true});
        oneSessionWithAFailure(server);
        server.stop();
        const std::string log = server.log();
        EXPECT_EQ(contains(log, "info: session 1 (127.0.0.1:"), c.sessionLines) << log;
        EXPECT_EQ(contains(log, "user LOGUSER, client 10.1.20.3) started"), c.sessionLines) << log;
        EXPECT_EQ(contains(log, ") ended: "), c.sessionLines) << log;
        EXPECT_EQ(contains(log, "warning: session 1 (") && contains(log, "MD_NOSUCH_S1 failed"), c.failureLine)
            << log;
        EXPECT_EQ(contains(log, "debug: session 1 (") && contains(log, "TP_PING done"), c.callLines) << log;
        EXPECT_FALSE(contains(log, "TP_PING failed")) << log;
    }
}

TEST_F(ServiceHost, TheConfigurationFileSetsOptionsAndTheCommandLineOverridesIt)
{
    medrec::testing::TempDir dir;
    const std::string config = dir.file("medrec-server.conf");
    // The port is overridden by the test's own --listen 127.0.0.1:0.
    std::ofstream(config) << "# site settings\nlisten = 127.0.0.1:9\nthreads = 2\n\nlog-level = debug\n"
                             "transaction-timeout = 1\n";

    {
        ServerProcess server(medrec::testing::ServerProcessOptions{{"--config", config}, {}, true});
        EXPECT_NE(server.port(), 9);
        oneSessionWithAFailure(server);

        // tpbegin(0) gets the file's one-second time-out.
        const std::string env = medrec::testing::writeSiteEnvironment(server.directory(), "127.0.0.1", server.port());
        auto session = joinSession(env, "MDUSER", "10.1.20.3");
        ASSERT_TRUE(session);
        ASSERT_EQ(session->begin(0, 0), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(1200));
        EXPECT_EQ(session->commit(0), -1);
        EXPECT_EQ(gettperrno(), TPETIME);

        server.stop();
        EXPECT_TRUE(contains(server.log(), "with 2 threads")) << server.log();
        EXPECT_TRUE(contains(server.log(), "TP_PING done")) << server.log();
    }
    {
        ServerProcess server(medrec::testing::ServerProcessOptions{{"--config", config, "--log-level", "warning"}, {}, true});
        oneSessionWithAFailure(server);
        server.stop();
        EXPECT_FALSE(contains(server.log(), "TP_PING done")) << server.log();
        EXPECT_FALSE(contains(server.log(), "info:")) << server.log();
        EXPECT_TRUE(contains(server.log(), "MD_NOSUCH_S1 failed")) << server.log();
    }
    // Values the server refuses, from the file or the command line: it does not start.
    for (const std::vector<std::string> &bad :
         {std::vector<std::string>{"--config", config, "--transaction-timeout", "0"},
          std::vector<std::string>{"--config", config, "--max-transaction-timeout", "0.5"},
          std::vector<std::string>{"--transaction-timeout", "700"},
          std::vector<std::string>{"--config", dir.file("missing.conf")}}) {
        SCOPED_TRACE(bad.back());
        EXPECT_THROW(ServerProcess server(bad), std::runtime_error);
    }
}

} // namespace medrec::server::store::testing
