// The page dump is stable and machine-independent, and the golden-file helper shows a mismatch as
// a readable diff and rewrites the file only when asked.

#include "ReportTestSupport.h"

#include "GoldenFile.h"
#include "report_engine/LayoutDump.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace medrec::engine {
namespace {

using test::measurer;
using test::quietRun;

Document flowsheet(int rows)
{
    Report report(test::testForm("flowsheet"));
    int row = 0;
    report.setNeedData([&](Report& r) {
        r.label("qrlb_Data1").setCaption(std::to_string(row));
        return row++ < rows;
    });
    return report.run(measurer(), quietRun());
}

TEST(LayoutDump, SameRunSameTextWithoutPathsOrClock)
{
    const std::string first = dumpDocument(flowsheet(60));
    EXPECT_EQ(dumpDocument(flowsheet(60)), first);
    EXPECT_EQ(first.find(test::formsDir().string()), std::string::npos);
    EXPECT_EQ(first.find(test::logoDir().string()), std::string::npos);
    EXPECT_NE(first.find("page 2 number=2 paper=2100x2970 portrait"), std::string::npos) << first.substr(0, 400);
    EXPECT_NE(first.find(" 520x160px"), std::string::npos) << "pictures by their size";
    EXPECT_NE(dumpDocument(flowsheet(61)), first) << "one more record shows";
}

TEST(LayoutDump, AppendedReportsKeepTheirOwnPageNumbers)
{
    Document doc = flowsheet(60);
    const std::size_t firstPages = doc.pages.size();
    doc.append(flowsheet(1));
    const std::string text = dumpDocument(doc);
    EXPECT_NE(text.find("page " + std::to_string(firstPages + 1) + " number=1 "), std::string::npos);
}

std::string read(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(GoldenFile, DiffExcerptShowsContextAndTheFirstDifferingLines)
{
    struct Case {
        const char* name;
        std::string golden;
        std::string actual;
        std::vector<std::string> shown;
        std::vector<std::string> notShown;
    };
    const std::vector<Case> cases{
        {"equal", "a\nb\n", "a\nb\n", {}, {}},
        {"one line changed", "1\n2\n3\n4\n5\n6\n7\n", "1\n2\n3\n4\nX\n6\n7\n", {"@@ -2,4 +2,4 @@", " 4\n", "-5\n", "+X\n"},
         {" 1\n", "-6", "+6"}},
        {"lines added at the end", "a\n", "a\nb\nc\n", {"+b\n", "+c\n"}, {"\n-"}},
        {"many lines differ", "", std::string(40, 'x') + "\n" + [] {
             std::string s;
             for (int i = 0; i < 30; ++i)
                 s += "line " + std::to_string(i) + "\n";
             return s;
         }(),
         {"+... 19 more"}, {"line 20"}},
        {"final line break only", "a\nb", "a\nb\n", {"line endings"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string diff = testing::diffExcerpt(c.golden, c.actual);
        EXPECT_EQ(diff.empty(), c.shown.empty()) << diff;
        for (const std::string& s : c.shown)
            EXPECT_NE(diff.find(s), std::string::npos) << "missing " << s << " in\n" << diff;
        for (const std::string& s : c.notShown)
            EXPECT_EQ(diff.find(s), std::string::npos) << "unexpected " << s << " in\n" << diff;
    }
}

TEST(GoldenFile, WrittenOnlyWhenAskedThenCompared)
{
    test::TempDir dir;
    const auto path = dir.path() / "kind" / "case.txt";
    const char* before = std::getenv("MEDREC_UPDATE_GOLDEN");
    const std::string saved = before ? before : "";
    unsetenv("MEDREC_UPDATE_GOLDEN");

    const auto missing = testing::matchesGoldenFile(path, "one\n");
    EXPECT_FALSE(missing);
    EXPECT_NE(std::string(missing.message()).find("MEDREC_UPDATE_GOLDEN=1"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path));

    setenv("MEDREC_UPDATE_GOLDEN", "1", 1);
    EXPECT_TRUE(testing::matchesGoldenFile(path, "one\ntwo\n"));
    unsetenv("MEDREC_UPDATE_GOLDEN");
    EXPECT_EQ(read(path), "one\ntwo\n");
    EXPECT_TRUE(testing::matchesGoldenFile(path, "one\ntwo\n"));
    const auto changed = testing::matchesGoldenFile(path, "one\nTWO\n");
    EXPECT_FALSE(changed);
    EXPECT_NE(std::string(changed.message()).find("-two\n+TWO"), std::string::npos) << changed.message();
    EXPECT_EQ(read(path), "one\ntwo\n") << "a mismatch never rewrites the file";

    if (before)
        setenv("MEDREC_UPDATE_GOLDEN", saved.c_str(), 1);
}

} // namespace
} // namespace medrec::engine
