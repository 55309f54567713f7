// The record kinds benchmark's own parts on real prints: the long stay it makes up imports
// beside the demo data and every kind it holds prints without losing text, the flowsheets at
// about twenty pages; and headless Chromium, given the HTML made of a kind's laid-out pages,
// prints the same text on the same pages.
#include "RecordKindFixture.h"

#include "ChromiumPrint.h"
#include "DocumentHtml.h"
#include "LongStay.h"

#include <QString>

#include <algorithm>
#include <unistd.h>

namespace medrec::testing {
namespace {

class LongStayTest : public RecordKindTest
{
protected:
    static void SetUpTestSuite() { s_server = StartServerWith({demoData(), long_stay::Data()}); }
    static void TearDownTestSuite() { StopServer(); }
};

struct LongStayCase
{
    const char *kind;
    const char *visitDate;
    int minPages;
    int maxPages;
};

// The notes and the vital signs hold what one standard reply carries (a refused import or an
// overflowing reply fails the print); the flowsheets about twenty pages.
const LongStayCase kLongStay[] = {
    {"MDPGNOTT", long_stay::kAdmissionDay, 3, 100},    {"MDNRRECT", long_stay::kAdmissionDay, 3, 100},
    {"MDNERECT", long_stay::kEmergencyDay, 3, 100},    {"MDVITALT", long_stay::kAdmissionDay, 3, 100},
    {"MDIOCHKT_BS", long_stay::kAdmissionDay, 18, 22}, {"MDIOCHKT_IO", long_stay::kAdmissionDay, 18, 22},
    {"MDIOCHKT_WE", long_stay::kAdmissionDay, 18, 22},
};

class LongStayPrints : public LongStayTest, public ::testing::WithParamInterface<LongStayCase>
{
};

TEST_P(LongStayPrints, EveryLineOnItsPages)
{
    const LongStayCase &c = GetParam();
    auto context = contextFor(c.kind, long_stay::kPatNo, c.visitDate);
    const KindPrint result = print(c.kind, context);
    ASSERT_TRUE(result.printed()) << result.failure << (result.refused ? result.refused->notice.text : "");
    const int pages = static_cast<int>(result.document->pages.size());
    EXPECT_GE(pages, c.minPages);
    EXPECT_LE(pages, c.maxPages);
    for (const auto &warning : result.document->warnings)
        ADD_FAILURE() << warning.message;
}

INSTANTIATE_TEST_SUITE_P(benchmark, LongStayPrints, ::testing::ValuesIn(kLongStay),
                         [](const auto &info) { return std::string(info.param.kind); });

// A page's text as a sorted run of characters: the two PDFs hold the same characters, but
// pdftotext reads positioned text in an order of its own.
std::u32string characters(const std::string &page)
{
    std::u32string out = QString::fromStdString(page).toStdU32String();
    std::sort(out.begin(), out.end());
    return out;
}

using ChromiumPrintsTheSamePages = LongStayTest;

TEST_F(ChromiumPrintsTheSamePages, PageByPage)
{
    const std::string chromium = "/usr/bin/chromium";
    if (access(chromium.c_str(), X_OK) != 0)
        GTEST_SKIP() << chromium << " is not installed (scripts/install-deps installs it)";
    struct Case
    {
        const char *kind, *patNo, *visitDate;
    };
    // Pictures, squares, marks and two forms in one document; a flowsheet of twenty pages.
    const Case cases[] = {{"MDADINFT", "00001234", "20180514"},
                          {"MDIOCHKT_IO", long_stay::kPatNo, long_stay::kAdmissionDay}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kind);
        auto context = contextFor(c.kind, c.patNo, c.visitDate);
        const KindPrint engine = print(c.kind, context);
        ASSERT_TRUE(engine.printed()) << engine.failure;
        const auto html = WriteDocumentHtml(*engine.document, m_out.path(), c.kind);
        const auto pdf = std::filesystem::path(m_out.file(std::string(c.kind) + "-chromium.pdf"));
        const ChromiumPrintResult browser = PrintWithChromium(chromium, html, pdf, m_out.file("profile"));
        ASSERT_EQ(browser.error, "");
        EXPECT_GT(browser.peakRssKb, 0);

        const auto expected = pdfPages(engine.pdf);
        const auto printed = pdfPages(pdf);
        EXPECT_EQ(browser.pages, static_cast<int>(expected.size()));
        ASSERT_EQ(printed.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_TRUE(characters(printed[i]) == characters(expected[i]))
                << "page " << i + 1 << "\nengine:   " << expected[i] << "\nchromium: " << printed[i];
    }
}

} // namespace
} // namespace medrec::testing
