#include "TestSupport.h"

#include "atmi.h"
#include "BuiltinServices.h"
#include "Importer.h"
#include "Sqlite.h"
#include "codec/FieldTable.h"

#include <sqlite3.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

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
    std::vector<std::string> args = options.wrapper;
    args.insert(args.end(), {serverProgramPath(), "--db", m_databasePath, "--listen", "127.0.0.1:0", "--fields",
                             defaultFieldTablePath()});
    args.insert(args.end(), options.extraArgs.begin(), options.extraArgs.end());
    ChildOptions child;
    if (options.captureLog)
        child.stderrFile = m_dir.file("server.log");
    child.beforeExec = std::move(options.beforeExec);
    m_child = std::make_unique<ChildProcess>(args, std::move(child));
    const std::string line =
        m_child->readLine(options.wrapper.empty() ? std::chrono::seconds(10) : std::chrono::seconds(60))
            .value_or("");
    m_child->closeOutput();
    std::size_t colon = line.rfind(':');
    if (line.rfind("listening ", 0) != 0 || colon == std::string::npos) {
        stop();
        throw std::runtime_error("medrec-server did not start (first line: \"" + line + "\")");
    }
    m_port = static_cast<unsigned short>(std::stoi(line.substr(colon + 1)));
}

ServerProcess::~ServerProcess() { stop(); }

pid_t ServerProcess::pid() const { return static_cast<pid_t>(m_child->id()); }

int ServerProcess::stop() { return m_child->stop(); }

} // namespace medrec::testing
