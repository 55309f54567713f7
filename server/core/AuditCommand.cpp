#include "AuditCommand.h"

#include "AccessAudit.h"

#include <sqlite3.h>

#include <filesystem>
#include <iostream>
#include <regex>

namespace medrec::server {

namespace {

constexpr const char *kUsage = "audit --db FILE [--patient N] [--since YYYY-MM-DD[ HH:MM[:SS]]]";

int usage(const std::string &why)
{
    std::cerr << "medrec-server audit: " << why << "\nusage: medrec-server " << kUsage << "\n";
    return 2;
}

// Tabs and line breaks in a value would break the columns.
std::string field(const std::string &text)
{
    std::string out;
    for (char c : text)
        out += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
    return out;
}

int run(int argc, char **argv)
{
    std::string db, patno, since;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc || (arg != "--db" && arg != "--patient" && arg != "--since"))
            return usage(i + 1 >= argc && arg.rfind("--", 0) == 0 ? arg + " needs a value" : "unknown argument " + arg);
        (arg == "--db" ? db : arg == "--patient" ? patno : since) = argv[++i];
    }
    if (db.empty())
        return usage("--db is required");
    static const std::regex kDate(R"(\d{4}-\d{2}-\d{2}( \d{2}:\d{2}(:\d{2})?)?)");
    if (!since.empty() && !std::regex_match(since, kDate))
        return usage("--since takes YYYY-MM-DD, optionally with HH:MM or HH:MM:SS");
    if (!std::filesystem::exists(db)) {
        std::cerr << "medrec-server audit: no database " << db << "\n";
        return 1;
    }
    std::cout << "at\tworkstation\tuser\tservice\tpatient\n";
    const std::string path = auditDatabasePath(db);
    if (!std::filesystem::exists(path))
        return 0; // nothing was ever read through the service host
    sqlite3 *handle = nullptr;
    if (sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::cerr << "medrec-server audit: " << path << ": " << sqlite3_errmsg(handle) << "\n";
        sqlite3_close_v2(handle);
        return 1;
    }
    sqlite3_busy_timeout(handle, 5000);
    std::vector<AuditRow> rows;
    std::string error;
    const bool ok = listAudit(handle, patno, since, &rows, &error);
    sqlite3_close_v2(handle);
    if (!ok) {
        std::cerr << "medrec-server audit: " << path << ": " << error << "\n";
        return 1;
    }
    for (const AuditRow &r : rows)
        std::cout << field(r.at) << '\t' << field(r.workstation) << '\t' << field(r.user) << '\t' << field(r.service)
                  << '\t' << field(r.patno) << '\n';
    return 0;
}

} // namespace

Subcommand auditCommand() { return Subcommand{"audit", kUsage, run}; }

} // namespace medrec::server
