// The layout record of a print through the real print run (medrec-batch on the real
// medrec-server): beside its PDF, the golden dump of the same case apart from the print date and
// time; medrec-compare-prints on a reprint and on a record whose data changed in between.

#include "RecordKindFixture.h"

#include "GoldenFile.h"
#include "TestDataText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <regex>
#include <sys/wait.h>

namespace medrec::testing {
namespace {

namespace fs = std::filesystem;

// The files in `dir` whose names end in `suffix`, sorted.
std::vector<fs::path> filesEndingIn(const fs::path &dir, const std::string &suffix)
{
    std::vector<fs::path> files;
    if (fs::is_directory(dir))
        for (const auto &entry : fs::directory_iterator(dir))
            if (entry.path().filename().string().ends_with(suffix))
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

int exitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

// The print date and time left out: what two prints of the same pages share.
std::string withoutPrintTime(const std::string &record)
{
    return std::regex_replace(record, std::regex(R"( x=-?\d+ printTime "[^"]*"| printTime "[^"]*")"), " printTime");
}

class LayoutRecordPrint : public RecordKindTest
{
protected:
    static void SetUpTestSuite() { StartServer(demoData()); }
    static void TearDownTestSuite() { StopServer(); }

    // Runs medrec-batch with `args`, its PDF files into `pdfDir`; its exit status, what it wrote
    // to standard error in `err`.
    int batch(const std::string &args, const fs::path &pdfDir, std::string *err = nullptr)
    {
        const std::string env = writeSiteEnvironment(m_out.path(), "127.0.0.1", s_server->port());
        const std::string errFile = m_out.file("batch.err");
        const std::string command = "MEDREC_ENV_FILE='" + env + "' MEDREC_PRINT_TO='pdf:" + pdfDir.string() +
                                    "' MEDREC_LAYOUT_RECORDS= MEDREC_BATCH_USER=RECORDS '" MEDREC_BATCH_PROGRAM
                                    "' " + args + " 2>'" + errFile + "'";
        const int status = std::system(command.c_str());
        if (err)
            *err = readFile(errFile);
        return exitStatus(status);
    }

    // medrec-compare-prints on two records: its exit status and what it wrote.
    std::pair<int, std::string> compare(const fs::path &first, const fs::path &second)
    {
        const std::string out = m_out.file("compare.out");
        const int status = std::system(("'" MEDREC_COMPARE_PROGRAM "' '" + first.string() + "' '" +
                                        second.string() + "' >'" + out + "' 2>&1")
                                           .c_str());
        return {exitStatus(status), readFile(out)};
    }
};

struct BatchCase
{
    const char *kind;
    const char *golden; // tests/golden/<kind>/<golden>.txt
    const char *args;   // of medrec-batch
};

class LayoutRecordMatchesGolden : public LayoutRecordPrint, public ::testing::WithParamInterface<BatchCase>
{
};

// The general nursing sheet shows its check squares, the nursing record the print time on both
// its pages. Neither shows an age counted to the day of printing.
TEST_P(LayoutRecordMatchesGolden, BesideItsPdfApartFromThePrintTime)
{
    const BatchCase &c = GetParam();
    const fs::path pdfDir = m_out.file("pdf");
    std::string err;
    ASSERT_EQ(batch(c.args, pdfDir, &err), 0) << err;
    const auto pdfs = filesEndingIn(pdfDir, ".pdf");
    const auto records = filesEndingIn(pdfDir, ".layout.txt");
    ASSERT_EQ(pdfs.size(), 1u);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0], pdfs[0].parent_path() / (pdfs[0].stem().string() + ".layout.txt"));

    const std::string record = readFile(records[0].string());
    const std::string golden = readFile(goldenPath(c.kind, c.golden).string());
    ASSERT_FALSE(golden.empty()) << goldenPath(c.kind, c.golden);
    EXPECT_EQ(diffExcerpt(withoutPrintTime(golden), withoutPrintTime(record)), "");

    // The squares' marks, as the golden dump has them.
    const std::regex blackSquare(R"(\n  shape [^ ]+/[A-Za-z][^ ]* rect \[[0-9,]+ [0-9]{2}x[0-9]{2}\] fill=#000000 )");
    const auto squares = [&](const std::string &text) {
        return std::distance(std::sregex_iterator(text.begin(), text.end(), blackSquare), std::sregex_iterator());
    };
    EXPECT_EQ(squares(record), squares(golden));
    if (std::string(c.kind) == "MDADINFT")
        EXPECT_GT(squares(record), 10);
    else
        EXPECT_NE(record.find(" printTime \""), std::string::npos) << "the print time is marked";
}

INSTANTIATE_TEST_SUITE_P(
    batch, LayoutRecordMatchesGolden,
    ::testing::Values(BatchCase{"MDADINFT", "long-texts", "56789 --visit 20220702 --kind MDADINFT"},
                      BatchCase{"MDNRRECT", "two-pages", "1234 --visit 201805140930 --kind MDNRRECT"}),
    [](const ::testing::TestParamInfo<BatchCase> &info) { return std::string(info.param.kind); });

// A folder of records that cannot be made costs the record, never the print or its history row;
// the run says so and ends with 1.
TEST_F(LayoutRecordPrint, AMissingRecordIsReportedAndTheHistoryRowStillWritten)
{
    const fs::path pdfDir = m_out.file("pdf");
    const fs::path blocked = m_out.file("a-file");
    std::ofstream(blocked) << "not a folder";
    const auto before = historyLines().size();
    std::string err;
    EXPECT_EQ(batch("56789 --visit 20220702 --kind MDADINFT --layout-records '" + blocked.string() + "/records'",
                    pdfDir, &err),
              1);
    EXPECT_NE(err.find("printed without layout record: MDADINFT"), std::string::npos) << err;
    EXPECT_NE(err.find("레이아웃 기록을 남기지 못했습니다."), std::string::npos) << err;
    EXPECT_EQ(filesEndingIn(pdfDir, ".pdf").size(), 1u);
    EXPECT_EQ(filesEndingIn(pdfDir, ".layout.txt").size(), 0u);
    EXPECT_EQ(historyLines().size(), before + 1);

    // Asked for a folder, the records go there, named after their PDF.
    const fs::path folder = m_out.file("records");
    ASSERT_EQ(batch("56789 --visit 20220702 --kind MDADINFT --layout-records '" + folder.string() + "'", pdfDir, &err),
              0)
        << err;
    const auto records = filesEndingIn(folder, ".layout.txt");
    ASSERT_EQ(records.size(), 1u);
    const std::string name = records[0].filename().string();
    EXPECT_TRUE(fs::exists(pdfDir / replaceAll(name, ".layout.txt", ".pdf"))) << name;
    EXPECT_EQ(filesEndingIn(pdfDir, ".layout.txt").size(), 0u) << "one record per print";
}

// Its own server: the test changes a record's data.
class LayoutRecordReprint : public LayoutRecordPrint
{
};

// A reprint equals the copy before it; a reprint after the record's data changed lists the
// components that changed and nothing else.
TEST_F(LayoutRecordReprint, TheComparisonFindsItEqualAndListsWhatChangedWithTheData)
{
    const std::string args = "56789 --visit 20220702 --kind MDADINFT";
    std::string err;
    ASSERT_EQ(batch(args, m_out.file("first"), &err), 0) << err;
    ASSERT_EQ(batch(args, m_out.file("again"), &err), 0) << err;
    const auto first = filesEndingIn(m_out.file("first"), ".layout.txt");
    const auto again = filesEndingIn(m_out.file("again"), ".layout.txt");
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(again.size(), 1u);
    const auto [equalStatus, equalOut] = compare(first[0], again[0]);
    EXPECT_EQ(equalStatus, 0) << equalOut;
    EXPECT_EQ(equalOut, "equal: 3 page(s), MDADINFT\n");

    // The sheet's data as changed afterwards: another telephone number, and the sleep
    // disturbance ("수면장애": 유, the second square) now denied (무, the first).
    nlohmann::json data = nlohmann::json::parse(demoData());
    bool changed = false;
    for (auto &reply : data["serviceReplies"])
        if (reply["service"] == "MD_ADINF_S2" && reply["key"]["S_PATNO"] == "00056789") {
            reply["rows"][0]["S_STRING7"] = "031-582-0000";
            reply["rows"][0]["S_STRING43"] = "N";
            changed = true;
        }
    ASSERT_TRUE(changed);
    const std::string changedData = m_out.file("changed.json");
    std::ofstream(changedData) << data.dump();
    ASSERT_EQ(exitStatus(std::system(("'" + serverProgramPath() + "' import --replace --db '" +
                                      s_server->databasePath() + "' '" + changedData + "' >/dev/null")
                                         .c_str())),
              0);
    ASSERT_EQ(batch(args, m_out.file("changed"), &err), 0) << err;
    const auto later = filesEndingIn(m_out.file("changed"), ".layout.txt");
    ASSERT_EQ(later.size(), 1u);
    const auto [changedStatus, changedOut] = compare(first[0], later[0]);
    EXPECT_EQ(changedStatus, 1);
    EXPECT_EQ(changedOut, "page 1 text QRBand1/qrl_telno1: text \"031-582-5298\" -> \"031-582-0000\"\n"
                          "page 1 shape QRBand1/qrs_sleep1: fill #FFFFFF -> #000000\n"
                          "page 1 shape QRBand1/qrs_sleep2: fill #000000 -> #FFFFFF\n"
                          "3 difference(s)\n");
}

TEST_F(LayoutRecordPrint, RecordsThatAreNotLayoutRecordsAreRefused)
{
    const std::string notARecord = m_out.file("notes.txt");
    std::ofstream(notARecord) << "%PDF-1.4\n";
    const auto [status, out] = compare(notARecord, notARecord);
    EXPECT_EQ(status, 2);
    EXPECT_NE(out.find(notARecord + ": line 1: a layout record begins with document"), std::string::npos) << out;
    const auto [missing, missingOut] = compare(m_out.file("none.layout.txt"), notARecord);
    EXPECT_EQ(missing, 2);
    EXPECT_NE(missingOut.find("none.layout.txt: cannot read the file"), std::string::npos) << missingOut;
}

} // namespace
} // namespace medrec::testing
