// The laid-out pages of every record kind's demo records, compared with reviewed dumps under
// tests/golden/<kind>/<case>.txt. After a reviewed change to a form or a block:
//     MEDREC_UPDATE_GOLDEN=1 QT_QPA_PLATFORM=offscreen ctest --preset dev -R golden
// then read `git diff tests/golden` before committing.
#include "RecordKindFixture.h"

#include "GoldenFile.h"

#include "Clock.h"

#include "report_engine/LayoutDump.h"

namespace medrec::testing {
namespace {

struct GoldenCase
{
    const char *kind;
    const char *name; // the golden file's name; [a-z0-9-]
    const char *patNo;
    const char *visitDate; // YYYYMMDD, as the record list is asked for it
    int record;            // 0-based row of the kind's record list
};

// One row per case; a kind adds its own.
const GoldenCase kCases[] = {
    {"MDOPRECT", "two-pages", "00001234", "20180514", 0},
    {"MDOPRECT", "one-page", "00001302", "20160905", 1},
};

class GoldenPages : public RecordKindTest, public ::testing::WithParamInterface<GoldenCase>
{
protected:
    static void SetUpTestSuite() { StartServer(demoData()); }
    static void TearDownTestSuite() { StopServer(); }
};

TEST_P(GoldenPages, MatchTheReviewedDump)
{
    const GoldenCase &c = GetParam();
    // Ages on the forms count to today.
    common::FixedToday today(std::chrono::year{2026} / 12 / 9);
    auto context = contextFor(c.kind, c.patNo, c.visitDate, c.record);
    const KindPrint result = print(c.kind, context);
    ASSERT_TRUE(result.printed()) << result.failure;
    EXPECT_TRUE(matchesGolden(c.kind, c.name, report::dumpDocument(*result.document)));
    // A printed copy never loses text.
    for (const auto &warning : result.document->warnings)
        ADD_FAILURE() << warning.message;
}

std::string caseName(const ::testing::TestParamInfo<GoldenCase> &info)
{
    std::string name = std::string(info.param.kind) + "_" + info.param.name;
    for (char &ch : name)
        if (ch == '-')
            ch = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(golden, GoldenPages, ::testing::ValuesIn(kCases), caseName);

} // namespace
} // namespace medrec::testing
