// The laid-out pages of every record kind's demo records, compared with reviewed dumps under
// tests/golden/<kind>/<case>.txt. What is compared is the layout record the print left beside
// its PDF, the text a site keeps of every copy. After a reviewed change to a form or a block:
//     MEDREC_UPDATE_GOLDEN=1 QT_QPA_PLATFORM=offscreen ctest --preset dev -R golden
// then read `git diff tests/golden` before committing.
#include "RecordKindFixture.h"

#include "GoldenFile.h"

#include "Clock.h"

#include "TestDataText.h"

namespace medrec::testing {
namespace {

struct GoldenCase
{
    const char *kind;
    const char *name; // the golden file's name; [a-z0-9-]
    const char *patNo;
    const char *visitDate; // YYYYMMDD, as the record list is asked for it (YYYYMMDDHHNN: one visit of several)
    int record;            // 0-based row of the kind's record list
};

// One row per case; a kind adds its own.
const GoldenCase kCases[] = {
    {"MDOPRECT", "two-pages", "00001234", "20180514", 0},
    {"MDOPRECT", "one-page", "00001302", "20160905", 1},
    {"MDDCHSUT", "two-pages", "00001234", "20180514", 0},
    {"MDDCHSUT", "death", "00004001", "20211011", 0},
    {"MDDCHSUT", "after-2019-09-01", "00056789", "20220702", 0},
    {"MDPGNOTT", "two-pages", "00001234", "20180514", 0},
    {"MDPGNOTT", "empty-note", "00056789", "20220702", 0},
    {"MDREADMT", "one-page", "00004005", "20141103", 0},
    {"MDEMNOTT", "one-page", "00056789", "20220702", 0},
    {"MDADMNOT", "two-pages", "00001234", "20180514", 0},
    {"MDADINFT", "rich", "00001234", "20180514", 0},
    {"MDADINFT", "long-texts", "00056789", "20220702", 0},
    {"MDADINFT", "legacy-formats", "02345678", "20130422", 0},
    {"MDADINFT", "sparse", "00004007", "20201119", 0},
    {"MDVITALT", "one-page", "00001302", "20160905", 0},
    {"MDVITALT", "page-break", "00001234", "20180514", 0},
    {"MDIOCHKT_BS", "one-page-replaced-reading-revisited-day", "02345678", "20130422", 0},
    {"MDIOCHKT_BS", "page-break", "00004001", "20220103", 0},
    {"MDIOCHKT_WE", "one-page-odd-count", "00001302", "20160905", 0},
    {"MDIOCHKT_WE", "page-break-odd-count", "00004012", "20220115", 0},
    {"MDIOCHKT_IO", "one-page-fractional-total", "00004001", "20211011", 0},
    {"MDIOCHKT_IO", "page-break-revisited-day", "00001234", "20180514", 0},
    {"MDNRRECT", "one-row", "00004008", "20230501", 0},
    {"MDNRRECT", "empty-note", "00001301", "20240402", 0},
    {"MDNRRECT", "day-bars", "00004001", "20211011", 0},
    {"MDNRRECT", "two-pages", "00001234", "20180514", 0},
    {"MDNERECT", "admitted", "00056789", "202207021940", 0},
    {"MDNERECT", "never-admitted", "12345678", "20190817", 0},
    {"MDOBINFT", "long-texts", "00001301", "20240402", 0},
    {"MDOBINFT", "legacy-formats", "00004008", "20230501", 0},
    {"MDOPRPTT", "one-page", "00001302", "20160905", 0},
    {"MDBLOODT", "page-break-observation-after-gap", "00001302", "20160905", 0},
    {"MDBLOODT", "one-page-other-text-after-gaps", "00004001", "20211011", 0},
    {"MDBDINFT", "one-page", "00004008", "20230501", 0},
    {"MDOBDEPT", "two-pages", "00004008", "20230501", 0},
    {"MDPDINFT", "rich", "00004003", "20210809", 0},
    {"MDPDINFT", "edge-codes", "00004003", "20190304", 0},
    {"MDPYINFT", "rich", "00004002", "20200217", 0},
    {"MDPYINFT", "edge-codes", "00004002", "20161107", 0},
    {"MDERINFT", "admitted", "00056789", "202207021940", 0},
    {"MDERINFT", "transfer", "12345678", "20190817", 0},
    {"MDNRACTT", "page-break-long-administrations", "00001234", "20180514", 0},
    {"MDNRACTT", "one-page", "00001302", "20160905", 0},
    {"MDNRACTT", "outpatient", "00001234", "20240311", 0},
    {"MDNRACTT", "every-order-cancelled", "00004007", "20201119", 0},
    {"SRSUVEYT", "every-section", "00004004", "20230315", 0},
    {"SRSUVEYT", "few-answers", "00001234", "20191104", 0},
    {"SRSEDMST", "closing-band-moved-to-new-page", "00004004", "20230315", 0},
    {"SRSEDMST", "closing-band-below-rows", "00001234", "20191104", 0},
    {"MDNBINFT", "before-2011-07-14-one-page", "00004016", "20110713", 0},
    {"MDNBINFT", "after-2011-07-14-two-pages", "00004012", "20220115", 0},
    {"MDREINFT", "two-pages", "00004006", "20180702", 0},
    {"SQNSTAPT", "two-pages", "00001234", "20180514", 0},
    {"SQNSTAPT", "zero-requirement", "00004005", "20141103", 0},
    {"MHHDRECT", "with-notes", "00004001", "20211011", 0},
    {"MHHDRECT", "without-notes", "00004004", "20230315", 0},
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
    ASSERT_FALSE(result.layoutRecord.empty());
    EXPECT_TRUE(matchesGolden(c.kind, c.name, readFile(result.layoutRecord.string())));
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
