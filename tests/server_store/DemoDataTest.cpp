// The medrec-server program's "import" and "history" subcommands, run as the demo runs
// them, on the demo data set.

#include "ServiceClient.h"
#include "TestSupport.h"

#include "ServiceTable.h"
#include "Sqlite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>

namespace medrec::server::store::testing {
namespace {

struct ProgramRun
{
    int exit = -1;
    std::string out;
    std::string err;
};

ProgramRun runServer(const medrec::testing::TempDir &dir, const std::string &args)
{
    const std::string out = dir.file("out.txt");
    const std::string err = dir.file("err.txt");
    const std::string command =
        "'" + medrec::testing::serverProgramPath() + "' " + args + " >'" + out + "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    auto slurp = [](const std::string &path) {
        std::ifstream in(path);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    };
    ProgramRun r;
    r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = slurp(out);
    r.err = slurp(err);
    return r;
}

std::string demoFile()
{
    return std::string(MEDREC_DEMO_DATA);
}

long long number(sqlite3 *db, const std::string &sql)
{
    Statement st(db, sql);
    return st.step() ? st.integer(0) : -1;
}

TEST(DemoDataTest, ImportsWholeAndHoldsWhatTheDemoShows)
{
    medrec::testing::TempDir dir;
    const std::string db = dir.file("demo.db");
    const ProgramRun r = runServer(dir, "import --db '" + db + "' '" + demoFile() + "'");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.out.find("imported "), std::string::npos) << r.out;

    Connection c(db, Connection::Mode::ReadWrite);
    struct Check
    {
        const char *what;
        const char *sql;
        long long atLeast;
    };
    const Check checks[] = {
        {"patients", "SELECT count(*) FROM patients", 20},
        {"two patients sharing a name", "SELECT max(n) FROM (SELECT count(*) n FROM patients GROUP BY name)", 2},
        {"numbers of 4 to 8 digits, zero-padded",
         "SELECT count(DISTINCT length(ltrim(patno, '0'))) FROM patients WHERE length(ltrim(patno, '0')) BETWEEN 4 AND 8",
         5},
        {"visits before 2011", "SELECT count(*) FROM visits WHERE visit_at < '2011'", 3},
        {"visits since 2011", "SELECT count(*) FROM visits WHERE visit_at >= '2011'", 20},
        {"a visit without records",
         "SELECT count(*) FROM visits v WHERE NOT EXISTS (SELECT 1 FROM records r WHERE r.visit_id = v.id)", 1},
        {"a patient without visits",
         "SELECT count(*) FROM patients p WHERE NOT EXISTS (SELECT 1 FROM visits v WHERE v.patno = p.patno)", 1},
        {"admissions with several kinds",
         "SELECT count(*) FROM (SELECT r.visit_id FROM records r JOIN visits v ON v.id = r.visit_id WHERE v.kind = 'I' "
         "GROUP BY r.visit_id HAVING count(DISTINCT r.kind_code) >= 4)",
         5},
        {"every record kind of the print run", "SELECT count(*) FROM record_kinds", 28},
        {"operation records with content",
         "SELECT count(DISTINCT c.record_id) FROM record_content c JOIN records r ON r.id = c.record_id "
         "WHERE r.kind_code = 'MDOPRECT'",
         5},
        {"an operation with long free texts",
         "SELECT count(*) FROM record_content WHERE field_no IN (33, 34) AND length(value) > 400", 2},
        {"wards with rooms", "SELECT count(DISTINCT ward_code) FROM rooms", 2},
        {"wards without rooms", "SELECT count(*) FROM wards w WHERE NOT EXISTS (SELECT 1 FROM rooms r WHERE r.ward_code = w.code)", 1},
        {"common-code groups", "SELECT count(*) FROM common_code_groups", 5},
    };
    for (const Check &check : checks) {
        SCOPED_TRACE(check.what);
        EXPECT_GE(number(c.get(), check.sql), check.atLeast);
    }
    // The operation record's first field is its patient's number, as the form prints it.
    EXPECT_EQ(number(c.get(), "SELECT count(*) FROM record_content c JOIN records r ON r.id = c.record_id "
                              "WHERE r.kind_code = 'MDOPRECT' AND c.field_no = 1 AND c.value <> r.c0"),
              0);
}

TEST(DemoDataTest, HistoryCommandListsHeaderOnlyOnAFreshDatabase)
{
    medrec::testing::TempDir dir;
    const std::string db = dir.file("demo.db");
    ASSERT_EQ(runServer(dir, "import --db '" + db + "' '" + demoFile() + "'").exit, 0);
    ProgramRun r = runServer(dir, "history --db '" + db + "'");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "id\tprinted_at\tpatient\tkey2\tkey3\tkey4\tkey5\tkind\tuser\tclient\tform\tsession_user\t"
                     "session_client\tworkstation\n");

    r = runServer(dir, "history --db '" + dir.file("missing.db") + "'");
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("no database"), std::string::npos) << r.err;
    std::ofstream(dir.file("empty.db")).flush();
    r = runServer(dir, "history --db '" + dir.file("empty.db") + "'");
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("not a medrec-server database"), std::string::npos) << r.err;
    r = runServer(dir, "history");
    EXPECT_EQ(r.exit, 2);
}

TEST(DemoDataTest, ImportOfABadFileChangesNothing)
{
    medrec::testing::TempDir dir;
    const std::string db = dir.file("demo.db");
    ASSERT_EQ(runServer(dir, "import --db '" + db + "' '" + demoFile() + "'").exit, 0);
    const std::string bad = dir.file("bad.json");
    std::ofstream(bad) << R"({"patients": [{"number": "00090001", "name": "가"},
        {"number": "00090002", "name": "나", "visits": [{"date": "20110101", "kind": "outpatient", "department": "GS"}]}]})";
    const ProgramRun r = runServer(dir, "import --db '" + db + "' --replace '" + bad + "'");
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find("patients[1].visits[0].date: \"20110101\" is not a date and time"), std::string::npos)
        << r.err;
    Connection c(db, Connection::Mode::ReadWrite);
    EXPECT_GE(number(c.get(), "SELECT count(*) FROM patients"), 20); // --replace was rolled back too
    EXPECT_EQ(number(c.get(), "SELECT count(*) FROM patients WHERE patno LIKE '0009%'"), 0);
}

TEST(DemoDataTest, BadJsonIsAClearMessageAndLeavesNoNewDatabase)
{
    struct Case
    {
        const char *what;
        const char *json;
        const char *message;
    } cases[] = {
        {"a number no double holds", R"({"x": 1e400})", "number overflow parsing '1e400'"},
        {"a number deep inside", R"({"patients": [{"number": "00090001", "name": "가", "extra": {"L_CNT1": -1e999}}]})",
         "number overflow"},
        {"a key twice in a patient",
         R"({"patients": [{"number": "00090001", "name": "가"}, {"number": "00090002", "number": "00090003"}]})",
         "patients[1].number: the key \"number\" stands twice in one object"},
        {"the patients twice", R"({"patients": [], "departments": [], "patients": []})",
         "patients: the key \"patients\" stands twice in one object"},
        {"not JSON at all", "{\"patients\": [", "not a JSON document: "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        medrec::testing::TempDir dir;
        const std::string file = dir.file("o.json");
        std::ofstream(file) << c.json;
        const std::string db = dir.file("o.db");
        const ProgramRun r = runServer(dir, "import --db '" + db + "' '" + file + "'");
        EXPECT_EQ(r.exit, 1);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("nothing was imported"), std::string::npos) << r.err;
        for (const char *suffix : {"", "-wal", "-shm", "-journal"})
            EXPECT_FALSE(std::filesystem::exists(db + suffix)) << suffix;
    }
}

TEST(DemoDataTest, HelpAndVersionGoToStandardOutput)
{
    medrec::testing::TempDir dir;
    ProgramRun r = runServer(dir, "--help");
    EXPECT_EQ(r.exit, 0);
    EXPECT_TRUE(r.err.empty()) << r.err;
    for (const char *option : {"--max-sessions", "--init-timeout", "--stall-timeout", "--idle-timeout", "import"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
    r = runServer(dir, "serve --help");
    EXPECT_EQ(r.exit, 0);
    EXPECT_NE(r.out.find("--max-sessions N"), std::string::npos) << r.out;
    r = runServer(dir, "--version");
    EXPECT_EQ(r.exit, 0);
    EXPECT_EQ(r.out.rfind("medrec-server ", 0), 0u) << r.out;
    r = runServer(dir, "--max-sessions 0 --db x.db");
    EXPECT_EQ(r.exit, 2);
    EXPECT_NE(r.err.find("--max-sessions needs a number from 1"), std::string::npos) << r.err;
}

// Stored replies are found only under the fields their service looks up by: a demo row kept
// under other fields (the sheet sends "S_ADMDATE", not "S_STRING1") would never be answered.
TEST(DemoDataTest, EveryStoredReplyIsKeyedByTheFieldsItsServiceLooksUpBy)
{
    medrec::testing::TempDir dir;
    const std::string db = dir.file("demo.db");
    ASSERT_EQ(runServer(dir, "import --db '" + db + "' '" + demoFile() + "'").exit, 0);
    Connection conn(db, Connection::Mode::ReadOnly);
    Statement st(conn.get(), "SELECT DISTINCT service, key_text FROM service_replies");
    int keys = 0;
    const std::regex fieldName("\"([A-Z][A-Z0-9_]*)\":");
    while (st.step()) {
        const std::string service = st.text(0), keyText = st.text(1);
        SCOPED_TRACE(service + " " + keyText);
        std::vector<std::string> fields;
        for (std::sregex_iterator it(keyText.begin(), keyText.end(), fieldName), end; it != end; ++it)
            fields.push_back((*it)[1]);
        const auto &table = services::DomainServiceTable();
        const auto entry = std::find_if(table.begin(), table.end(), [&](const auto &e) { return e.name == service; });
        ASSERT_NE(entry, table.end());
        EXPECT_EQ(entry->answersFrom, "stored replies");
        std::vector<std::string> lookup = entry->lookup;
        std::sort(lookup.begin(), lookup.end());
        EXPECT_EQ(fields, lookup);
        ++keys;
    }
    EXPECT_GE(keys, 12);
}

TEST(DemoDataTest, ServicesCommandListsEveryServiceWithTheFieldsItLooksUpBy)
{
    medrec::testing::TempDir dir;
    const ProgramRun r = runServer(dir, "services");
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out.rfind("service\tanswers from\tlooked up by\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\nMD_ADINF_S2\tstored replies\tS_PATNO;S_ADMDATE\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nMD_INSAM_L1\tstored replies\tS_TYPE3\n"), std::string::npos) << r.out;
    for (const char *sedation : {"SR_SEDME_L1", "SR_SEDEV_S1", "SR_SEDRC_S1"})
        EXPECT_NE(r.out.find("\n" + std::string(sedation) + "\tstored replies\tS_CODE1;S_CODE2;L_SEQNO1;L_SEQNO2\n"),
                  std::string::npos)
            << r.out;
    EXPECT_EQ(static_cast<std::size_t>(std::count(r.out.begin(), r.out.end(), '\n')),
              services::DomainServiceTable().size() + 1);
}

} // namespace
} // namespace medrec::server::store::testing
