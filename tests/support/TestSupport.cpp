#include "TestSupport.h"

#include "atmi.h"
#include "BuiltinServices.h"
#include "Importer.h"
#include "Sqlite.h"
#include "codec/FieldTable.h"

#include <sqlite3.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace medrec::testing {

std::string serverProgramPath() { return MEDREC_TEST_SERVER_PROGRAM; }

std::shared_ptr<const tp::FieldTable> loadDefaultFieldTable()
{
    std::string why;
    auto table = tp::FieldTable::load(defaultFieldTablePath(), &why);
    if (!table)
        throw std::runtime_error(why);
    return std::make_shared<const tp::FieldTable>(std::move(*table));
}

InProcessServer::InProcessServer(std::function<void(server::ServiceRegistry &)> registerHandlers,
                                 InProcessOptions options)
    : m_databasePath(m_dir.file("medrec.db")), m_fields(loadDefaultFieldTable())
{
    server::ServiceRegistry registry;
    server::registerBuiltinServices(registry);
    if (registerHandlers)
        registerHandlers(registry);
    server::ServerOptions o;
    o.databasePath = m_databasePath;
    o.fields = m_fields;
    o.threads = options.threads;
    o.defaultTransactionTimeout = options.defaultTransactionTimeout;
    o.prepareDatabase = options.prepareDatabase;
    if (options.adjust)
        options.adjust(o);
    m_server = std::make_unique<server::Server>(std::move(o), std::move(registry));
    std::string why;
    if (!m_server->start(&why))
        throw std::runtime_error("in-process server: " + why);
}

InProcessServer::~InProcessServer() { m_server->stop(); }

std::string InProcessServer::writeEnvironment(const std::vector<std::string> &extraLines)
{
    return writeSiteEnvironment(m_dir.path(), "127.0.0.1", port(), defaultFieldTablePath(), extraLines);
}

std::string InProcessServer::queryText(const std::string &sql)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(m_databasePath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + m_databasePath);
    }
    sqlite3_busy_timeout(db, 5000);
    sqlite3_stmt *stmt = nullptr;
    std::string result;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) {
            const unsigned char *t = sqlite3_column_text(stmt, 0);
            result = t ? reinterpret_cast<const char *>(t) : "";
            rc = SQLITE_DONE;
        }
    }
    std::string why = rc == SQLITE_DONE ? "" : sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    if (!why.empty())
        throw std::runtime_error("query failed: " + why);
    return result;
}

ServerProcess::ServerProcess(const std::vector<std::string> &extraArgs)
    : ServerProcess(ServerProcessOptions{extraArgs, {}, false})
{
}

std::string ServerProcess::log() const
{
    std::ifstream in(m_dir.file("server.log"));
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void importDataSet(const std::string &databasePath, const std::string &json)
{
    using server::store::Connection;
    const auto result = server::store::importJson(Connection(databasePath, Connection::Mode::ReadWrite).get(), json);
    if (!result.ok)
        throw std::runtime_error("import refused: " + result.error);
}

ServerProcess::ServerProcess(ServerProcessOptions options) : m_databasePath(m_dir.file("medrec.db"))
{
    const std::vector<std::string> &extraArgs = options.extraArgs;
    const std::string logPath = m_dir.file("server.log");
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    std::vector<std::string> args = options.wrapper;
    args.insert(args.end(), {serverProgramPath(), "--db", m_databasePath, "--listen", "127.0.0.1:0", "--fields",
                             defaultFieldTablePath()});
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char *> argv;
    for (auto &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    m_pid = fork();
    if (m_pid < 0)
        throw std::runtime_error("fork failed");
    if (m_pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        if (options.captureLog) {
            int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (log >= 0) {
                dup2(log, STDERR_FILENO);
                close(log);
            }
        }
        if (options.beforeExec)
            options.beforeExec();
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    std::string line;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.wrapper.empty() ? 10 : 60);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd p{pipeFds[0], POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char buf[256];
        ssize_t n = read(pipeFds[0], buf, sizeof buf);
        if (n <= 0)
            break;
        line.append(buf, static_cast<std::size_t>(n));
    }
    close(pipeFds[0]);
    std::size_t colon = line.rfind(':');
    if (line.rfind("listening ", 0) != 0 || colon == std::string::npos) {
        stop();
        throw std::runtime_error("medrec-server did not start (first line: \"" + line + "\")");
    }
    m_port = static_cast<unsigned short>(std::stoi(line.substr(colon + 1)));
}

ServerProcess::~ServerProcess() { stop(); }

int ServerProcess::stop()
{
    if (m_pid <= 0)
        return m_status;
    kill(m_pid, SIGTERM);
    for (int i = 0; i < 500; ++i) {
        if (waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
            m_pid = -1;
            return m_status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(m_pid, SIGKILL);
    waitpid(m_pid, &m_status, 0);
    m_pid = -1;
    return m_status;
}

} // namespace medrec::testing
