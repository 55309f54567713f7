#pragma once

// Fixtures for tests that need the middleware end to end: a real service host on a real
// loopback port with a real SQLite file, and the site environment file the client reads.
//
//   #include "TestSupport.h"
//   using namespace medrec::testing;
//
//   // (a) an in-process server with the test's own handlers:
//   InProcessServer server([](medrec::server::ServiceRegistry &r) {
//       r.add("MD_TEST_S1", [](medrec::server::ServiceContext &ctx) {
//           ctx.reply().addText("S_STRING1", ctx.request().text("S_PATNO"));
//           ctx.succeed("조회되었습니다.");
//       });
//   });
//   // (c) the client's environment file for it, and a process session through atmi.h:
//   AtmiSession session(server.writeEnvironment(), "USER", "127.0.0.1");
//   ASSERT_TRUE(session.ok()) << session.error();
//   ... tpalloc / Fchg / tpcall as the client does ...
//
//   // (b) the real medrec-server program with a fresh database:
//   ServerProcess process;              // throws std::runtime_error if it does not start
//   std::string env = writeSiteEnvironment(process.directory(), "127.0.0.1", process.port());
//
// Everything lives in a fresh temporary folder that is removed afterwards. Only one
// AtmiSession may exist at a time (the C API has one session per process); tests that
// need several clients at once use medrec::tp::client::ClientSession directly.

#include "AtmiClient.h"
#include "Basics.h"
#include "ChildProcess.h"
#include "ServiceRegistry.h"
#include "Server.h"

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace medrec::testing {

// The medrec-server program built with the tests.
std::string serverProgramPath();
// The field table loaded (once per call).
std::shared_ptr<const tp::FieldTable> loadDefaultFieldTable();

// Imports a data set into a server's database file, as "medrec-server import" does (the
// file must hold the current layout). Throws std::runtime_error when the import is refused.
void importDataSet(const std::string &databasePath, const std::string &json);

struct InProcessOptions
{
    unsigned threads = 4;
    std::chrono::seconds defaultTransactionTimeout{30};
    std::function<bool(sqlite3 *, std::string *)> prepareDatabase;
    // Last word on the server's options (limits and time-outs under test).
    std::function<void(server::ServerOptions &)> adjust;
};

// The real server core on 127.0.0.1, an ephemeral port and "<temp>/medrec.db".
// Built-in services (TP_PING) are registered too. Throws std::runtime_error when it
// cannot start. Stops (rolling back open transactions) on destruction.
class InProcessServer
{
public:
    explicit InProcessServer(std::function<void(server::ServiceRegistry &)> registerHandlers = {},
                             InProcessOptions options = {});
    ~InProcessServer();

    unsigned short port() const { return m_server->port(); }
    const std::string &databasePath() const { return m_databasePath; }
    const std::string &directory() const { return m_dir.path(); }
    server::Server &server() { return *m_server; }
    const std::shared_ptr<const tp::FieldTable> &fields() const { return m_fields; }

    // The site environment file for this server (written once, in its folder).
    std::string writeEnvironment(const std::vector<std::string> &extraLines = {});

    // Runs a query on a connection of its own and returns the first column of the first
    // row as text ("" when there is no row); throws on an SQL error. For assertions.
    std::string queryText(const std::string &sql);

private:
    TempDir m_dir;
    std::string m_databasePath;
    std::shared_ptr<const tp::FieldTable> m_fields;
    std::unique_ptr<server::Server> m_server;
};

struct ServerProcessOptions
{
    std::vector<std::string> extraArgs;
    // Runs in the child just before exec (e.g. setrlimit): async-signal-safe calls only.
    std::function<void()> beforeExec;
    // Standard error into "<directory>/server.log" (see log()) rather than the test's.
    bool captureLog = false;
    // Programs the server runs under, such as {"valgrind", "--tool=callgrind"} for a
    // profile; it then has a minute to start rather than 10 s.
    std::vector<std::string> wrapper;
};

// The medrec-server program started with --db "<temp>/medrec.db" --listen 127.0.0.1:0
// and the default field table; reads the port from its first line. Extra arguments go
// after those. Throws std::runtime_error when it does not start within 10 s. SIGTERM on
// destruction (SIGKILL if it does not end within 5 s).
class ServerProcess
{
public:
    explicit ServerProcess(const std::vector<std::string> &extraArgs = {});
    explicit ServerProcess(ServerProcessOptions options);
    // What it wrote to standard error so far (captureLog).
    std::string log() const;
    ~ServerProcess();
    ServerProcess(const ServerProcess &) = delete;
    ServerProcess &operator=(const ServerProcess &) = delete;

    unsigned short port() const { return m_port; }
    pid_t pid() const;
    const std::string &databasePath() const { return m_databasePath; }
    const std::string &directory() const { return m_dir.path(); }
    // Sends SIGTERM and waits; the exit status (as waitpid gives it).
    int stop();

private:
    TempDir m_dir;
    std::string m_databasePath;
    std::unique_ptr<ChildProcess> m_child;
    unsigned short m_port = 0;
};

} // namespace medrec::testing
