#include "Commands.h"

#include "Importer.h"
#include "PrintHistory.h"
#include "Schema.h"
#include "Sqlite.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

namespace medrec::server::store {

namespace {

constexpr const char *kImportUsage = "usage: medrec-server import --db FILE [--replace] DATA.json";
constexpr const char *kHistoryUsage = "usage: medrec-server history --db FILE [--limit N]";

std::string escapeField(const std::string &value)
{
    std::string out;
    out.reserve(value.size());
    for (unsigned char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

bool readFile(const std::string &path, std::string &content, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    content = buffer.str();
    return true;
}

int importInto(const std::string &dbPath, const std::string &dataPath, const std::string &json,
               const ImportOptions &options, std::ostream &out, std::ostream &err)
{
    std::string error;
    try {
        Connection db(dbPath, Connection::Mode::ReadWriteCreate);
        if (!prepareSchema(db.get(), &error)) {
            err << "import: " << dbPath << ": " << error << "\n";
            return 1;
        }
        const ImportResult result = importJson(db.get(), json, options);
        if (!result.ok) {
            err << "import: " << dataPath << ": " << result.error << "\n"
                << "import: nothing was imported\n";
            return 1;
        }
        const ImportSummary &s = result.summary;
        out << "imported " << s.patients << " patients, " << s.visits << " visits, " << s.records << " records ("
            << s.contentRows << " content rows), " << s.recordKinds << " record kinds, " << s.departments
            << " departments, " << s.wards << " wards (" << s.rooms << " rooms), " << s.commonCodes
            << " common codes, " << s.serviceReplies << " stored replies\n";
        return 0;
    } catch (const DbError &e) {
        err << "import: " << e.what() << "\n";
        return 1;
    }
}

} // namespace

int runImport(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    std::string dbPath;
    std::string dataPath;
    ImportOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--db" && i + 1 < args.size()) {
            dbPath = args[++i];
        } else if (args[i] == "--replace") {
            options.replace = true;
        } else if (!args[i].empty() && args[i][0] != '-' && dataPath.empty()) {
            dataPath = args[i];
        } else {
            err << kImportUsage << "\n";
            return 2;
        }
    }
    if (dbPath.empty() || dataPath.empty()) {
        err << kImportUsage << "\n";
        return 2;
    }

    std::string json;
    std::string error;
    if (!readFile(dataPath, json, error)) {
        err << "import: " << error << "\n";
        return 1;
    }
    // A refused import into a database it would have created leaves no file behind.
    std::error_code ec;
    const bool existed = std::filesystem::exists(dbPath, ec);
    const int rc = importInto(dbPath, dataPath, json, options, out, err);
    if (rc != 0 && !existed)
        for (const char *suffix : {"", "-wal", "-shm", "-journal"})
            std::filesystem::remove(dbPath + suffix, ec);
    return rc;
}

void writeHistory(sqlite3 *db, std::ostream &out, std::size_t limit)
{
    out << "id\tprinted_at\tpatient\tkey2\tkey3\tkey4\tkey5\tkind\tuser\tclient\tform\tsession_user\tsession_client\tworkstation\n";
    for (const PrintHistoryEntry &e : listPrintHistory(db, limit)) {
        out << e.id;
        for (const std::string *v : {&e.printedAt, &e.patno, &e.key2, &e.key3, &e.key4, &e.key5, &e.kindCode,
                                     &e.logUser, &e.logClient, &e.logForm, &e.sessionUser, &e.sessionClient,
                                     &e.workstation})
            out << '\t' << escapeField(*v);
        out << '\n';
    }
}

int runHistory(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    std::string dbPath;
    std::size_t limit = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--db" && i + 1 < args.size()) {
            dbPath = args[++i];
        } else if (args[i] == "--limit" && i + 1 < args.size()) {
            const std::string &n = args[++i];
            const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), limit);
            if (ec != std::errc() || end != n.data() + n.size() || limit == 0) {
                err << "history: --limit takes a whole number above 0\n";
                return 2;
            }
        } else {
            err << kHistoryUsage << "\n";
            return 2;
        }
    }
    if (dbPath.empty()) {
        err << kHistoryUsage << "\n";
        return 2;
    }
    // Listing must not create a database where there was none.
    if (!std::filesystem::exists(dbPath)) {
        err << "history: no database " << dbPath << "\n";
        return 1;
    }
    try {
        Connection db(dbPath, Connection::Mode::ReadWrite);
        const int version = schemaVersion(db.get());
        if (version != kSchemaVersion) {
            err << "history: " << dbPath << ": not a medrec-server database of layout version " << kSchemaVersion
                << " (it has " << version << ")\n";
            return 1;
        }
        writeHistory(db.get(), out, limit);
        return 0;
    } catch (const DbError &e) {
        err << "history: " << e.what() << "\n";
        return 1;
    }
}

} // namespace medrec::server::store
