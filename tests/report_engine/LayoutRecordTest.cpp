// The layout record a print leaves (its page dump, beside its PDF or in the folder of
// records), and what comparing two records finds.

#include "ReportTestSupport.h"
#include "ScopedEnv.h"

#include "report_engine/LayoutCompare.h"
#include "report_engine/LayoutDump.h"
#include "report_engine/LayoutRecord.h"
#include "report_engine/Printing.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

namespace medrec::engine {
namespace {

// A certificate of one page: a name, two check squares, a memo, the print time at its foot.
constexpr std::string_view kCertificate = R"json({"name": "cert", "title": "증명서", "page": {"margins": 10},
  "bands": [{"name": "d", "kind": "detail", "height": 60, "components": [
    {"type": "label", "name": "qlb_name", "box": [0, 0, 60, 5]},
    {"type": "label", "box": [0, 6, 20, 5], "caption": "입원"},
    {"type": "shape", "name": "qrs_admit", "box": [22, 6, 3, 3]},
    {"type": "label", "box": [30, 6, 20, 5], "caption": "외래"},
    {"type": "shape", "name": "qrs_visit", "box": [52, 6, 3, 3]},
    {"type": "memo", "name": "qrme_note", "box": [0, 12, 100, 5], "autoStretch": true}]}],
  "furniture": [{"type": "systemField", "name": "qrs_printed", "field": "dateTime", "box": [120, 280, 60, 4],
    "align": "right"}]})json";

struct Certificate {
    std::string name = "김민준";
    bool admitted = true;
    std::vector<std::string> note{"첫째 줄", "둘째 줄"};
    DateTime printTime{2026, 12, 9, 14, 30, 5};
    double nameLeft = 0;
};

Document certificate(const Certificate& c = {})
{
    Report report(test::inlineForm(kCertificate));
    report.label("qlb_name").setCaption(c.name);
    report.label("qlb_name").setLeft(c.nameLeft);
    report.shape("qrs_admit").setBrush(c.admitted ? Color::black() : Color::white());
    report.shape("qrs_visit").setBrush(c.admitted ? Color::white() : Color::black());
    report.memo("qrme_note").lines = c.note;
    RunOptions options = test::quietRun();
    options.printTime = c.printTime;
    return report.run(test::measurer(), options);
}

LayoutRecordText parsed(const std::string& text)
{
    std::string error;
    auto record = parseLayoutRecord(text, error);
    EXPECT_TRUE(record) << error;
    return record.value_or(LayoutRecordText{});
}

std::vector<std::string> differences(const Document& first, const Document& second)
{
    return compareLayoutRecords(parsed(dumpDocument(first)), parsed(dumpDocument(second)));
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& line : lines)
        out += line + "\n";
    return out;
}

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::filesystem::path> filesIn(const std::filesystem::path& dir)
{
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(dir))
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(LayoutRecordFile, PrintTimeTextsAreMarkedAndAreAllThatChangesWithTheClock)
{
    const std::string at1430 = dumpDocument(certificate());
    Certificate later;
    later.printTime = DateTime{2027, 1, 2, 8, 5, 9};
    const std::string at0805 = dumpDocument(certificate(later));
    EXPECT_NE(at1430.find(" printTime \"2026-12-09 14:30:05\"\n"), std::string::npos) << at1430;
    EXPECT_NE(at0805, at1430);
    EXPECT_EQ(std::regex_replace(at0805, std::regex(R"( printTime "[^"]*")"), ""),
              std::regex_replace(at1430, std::regex(R"( printTime "[^"]*")"), ""));
    EXPECT_TRUE(differences(certificate(), certificate(later)).empty())
        << joined(differences(certificate(), certificate(later)));
}

TEST(LayoutRecordFile, IsTheDumpWrittenWholeAndReplacesAnEarlierFile)
{
    test::TempDir dir;
    const auto file = dir.path() / "a.layout.txt";
    std::ofstream(file) << "stale";
    ASSERT_EQ(writeLayoutRecord(certificate(), file), "");
    EXPECT_EQ(readFile(file), dumpDocument(certificate()));
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::filesystem::path>{file}) << "no temporary file left";

    // A folder that cannot exist: a file stands where it would be.
    const auto blocked = dir.path() / "a.layout.txt" / "b.layout.txt";
    const std::string error = writeLayoutRecord(certificate(), blocked);
    EXPECT_NE(error.find(blocked.string()), std::string::npos) << error;
    EXPECT_EQ(layoutRecordBeside("/x/20261209-143005_MDOPRECT_00001234-2.pdf"),
              "/x/20261209-143005_MDOPRECT_00001234-2.layout.txt");
}

// Where printDocument puts the record: beside the PDF, or in the folder of records named after
// the PDF; a folder that cannot be made costs the record, never the print.
TEST(LayoutRecordFile, EveryPdfCopyLeavesItsRecordBesideItOrInTheFolder)
{
    test::TempDir dir;
    const auto pdfs = dir.path() / "pdf";
    medrec::testing::ScopedEnv target("MEDREC_PRINT_TO", ("pdf:" + pdfs.string()).c_str());
    const Document doc = certificate();
    {
        medrec::testing::ScopedEnv folder("MEDREC_LAYOUT_RECORDS", std::nullopt);
        const PrintResult r = printDocument(doc, {"MDOPRECT", "00001234"});
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.layoutRecordError, "");
        EXPECT_EQ(r.layoutRecord, layoutRecordBeside(r.pdfFile));
        EXPECT_EQ(readFile(r.layoutRecord), dumpDocument(doc));
    }
    const auto records = dir.path() / "records";
    {
        medrec::testing::ScopedEnv folder("MEDREC_LAYOUT_RECORDS", records.string().c_str());
        const PrintResult r = printDocument(doc, {"MDOPRECT", "00001234"});
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.layoutRecord, records / (r.pdfFile.stem().string() + ".layout.txt"));
        EXPECT_EQ(readFile(r.layoutRecord), dumpDocument(doc));
        EXPECT_FALSE(std::filesystem::exists(layoutRecordBeside(r.pdfFile))) << "one record per print";
    }
    {
        const auto blocked = records / (filesIn(records).front().filename().string()) / "sub";
        medrec::testing::ScopedEnv folder("MEDREC_LAYOUT_RECORDS", blocked.string().c_str());
        const PrintResult r = printDocument(doc, {"MDOPRECT", "00001234"});
        EXPECT_TRUE(r.ok) << "the copy went out: " << r.error;
        EXPECT_TRUE(std::filesystem::exists(r.pdfFile));
        EXPECT_TRUE(r.layoutRecord.empty());
        EXPECT_NE(r.layoutRecordError.find(blocked.string()), std::string::npos) << r.layoutRecordError;
    }
    EXPECT_EQ(filesIn(pdfs).size(), 4u) << "three PDFs and the one record beside the first";
    EXPECT_EQ(filesIn(records).size(), 1u);
}

TEST(LayoutRecordCompare, ListsWhatChangedComponentByComponent)
{
    Certificate changed;
    changed.name = "김민준2";
    changed.admitted = false;
    const auto found = differences(certificate(), certificate(changed));
    EXPECT_EQ(joined(found), "page 1 text d/qlb_name: text \"김민준\" -> \"김민준2\"\n"
                             "page 1 shape d/qrs_admit: fill #000000 -> #FFFFFF\n"
                             "page 1 shape d/qrs_visit: fill #FFFFFF -> #000000\n");
}

TEST(LayoutRecordCompare, PositionsCountBeyondATenthOfAMillimetre)
{
    struct Case {
        double nameLeft;
        bool differs;
    };
    for (const Case c : {Case{0.05, false}, Case{0.1, false}, Case{0.2, true}, Case{3.1, true}}) {
        SCOPED_TRACE(c.nameLeft);
        Certificate moved;
        moved.nameLeft = c.nameLeft;
        const auto found = differences(certificate(), certificate(moved));
        if (!c.differs) {
            EXPECT_TRUE(found.empty()) << joined(found);
            continue;
        }
        ASSERT_EQ(found.size(), 1u) << joined(found);
        EXPECT_TRUE(found[0].starts_with("page 1 text d/qlb_name: position [100,100 600x")) << found[0];
    }
}

TEST(LayoutRecordCompare, LinesAndPagesOnlyInOneRecordAreListed)
{
    Certificate longer;
    longer.note.push_back("셋째 줄");
    const auto found = differences(certificate(), certificate(longer));
    ASSERT_EQ(found.size(), 1u) << joined(found);
    EXPECT_TRUE(found[0].starts_with("page 1 only in the second: text d/qrme_note [")) << found[0];
    EXPECT_TRUE(found[0].ends_with(" \"셋째 줄\"")) << found[0];

    Certificate twoPages;
    twoPages.note.assign(80, "줄");
    const auto paged = differences(certificate(twoPages), certificate());
    ASSERT_FALSE(paged.empty());
    EXPECT_EQ(paged[0], "pages: 2 -> 1");
    EXPECT_NE(std::find_if(paged.begin(), paged.end(),
                           [](const std::string& l) { return l.starts_with("page 2 only in the first ("); }),
              paged.end())
        << joined(paged);
    EXPECT_NE(std::find_if(paged.begin(), paged.end(),
                           [](const std::string& l) { return l == "page 1 text d/qrme_note #2: text \"줄\" -> \"둘째 줄\""; }),
              paged.end())
        << "a memo's lines pair by their place: " << joined(paged);
}

TEST(LayoutRecordCompare, TextsThatAreNotWholeRecordsAreRefusedWithTheirLine)
{
    const std::string good = dumpDocument(certificate());
    struct Case {
        std::string text;
        std::string error;
    };
    const std::string firstPage = good.substr(0, good.find("\n  ") + 1);
    for (const Case& c : {
             Case{"", "empty: not a layout record"},
             Case{"%PDF-1.4\n", "line 1: a layout record begins with document \"TITLE\" pages=N"},
             Case{firstPage + "  text d/qlb_name [0,0 10x10] \"굴림체\" 9pt \"unclosed\n",
                  "line 3: not an element line"},
             Case{firstPage + "  circle d/x [0,0 10x10]\n", "line 3: unknown element \"circle\""},
             Case{firstPage + "  text d/qlb_name [0,0 10x10] \"굴림체\" 9pt\n",
                  "line 3: a text without its text"},
             Case{std::regex_replace(good, std::regex("pages=1"), "pages=2"),
                  "the record names 2 pages but holds 1 (cut short?)"},
             Case{good + "page 3 number=1 paper=2100x2970 portrait body=[0,0 1x1]\n", "expected page 2"},
         }) {
        SCOPED_TRACE(c.text.substr(0, 80));
        std::string error;
        EXPECT_FALSE(parseLayoutRecord(c.text, error));
        EXPECT_TRUE(error.ends_with(c.error)) << error;
    }
}

} // namespace
} // namespace medrec::engine
