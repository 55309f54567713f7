#include "SedationTestSupport.h"

#include "TestDataText.h"

#include "PrintHistory.h"
#include "TuxCom.h"

#include <gtest/gtest.h>

namespace medrec::testing {

void SedationTest::SetUpTestSuite()
{
    s_server = StartServerWith({DemoData(), readFile(MEDREC_TEST_DATA "/sedation-records.json")});
}

KindPrint SedationTest::printed(const std::string &kind, reports::PrintContext context)
{
    KindPrint result = print(kind, context);
    EXPECT_TRUE(result.printed()) << result.failure;
    return result;
}

void SedationTest::expectHistoryRow(const KindPrint &result, const std::string &kind, const std::string &row)
{
    ASSERT_TRUE(result.history);
    ASSERT_EQ(reports::SavePrintHistory(*result.history, kind), 1) << middleware::LastTuxMessage();
    const auto lines = historyLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.front().find(row + "\t" + kind), std::string::npos) << lines.front();
}

void SedationTest::expectStoppedNaming(const std::string &kind, reports::PrintContext context,
                                       const std::string &value)
{
    const std::size_t before = historyLines().size();
    const KindPrint result = PrintKind(kind, context);
    EXPECT_FALSE(result.document.has_value());
    EXPECT_TRUE(result.pdf.empty());
    EXPECT_FALSE(result.refused.has_value());
    // The toolkit's message, or one naming the value where a binding rule read it.
    EXPECT_TRUE(result.failure == "'" + value + "' is not a valid integer value" ||
                result.failure.ends_with(" 값이 숫자가 아닙니다: '" + value + "'"))
        << result.failure;
    EXPECT_EQ(historyLines().size(), before);
}

namespace {

std::set<std::string> squaresWhere(const engine::Document &document, bool blackOnly)
{
    std::set<std::string> names;
    for (const engine::Page &page : document.pages)
        for (const engine::Element &e : page.elements)
            if (e.kind == engine::ElementKind::Shape && !e.component.empty() &&
                (!blackOnly || e.fill == engine::Color::black()))
                names.insert(e.component);
    return names;
}

} // namespace

std::set<std::string> BlackSquares(const engine::Document &document) { return squaresWhere(document, true); }

std::set<std::string> Squares(const engine::Document &document) { return squaresWhere(document, false); }

void ExpectValues(const engine::Document &document, const std::vector<std::string> &pages,
                  const std::map<std::string, std::string> &values)
{
    std::string all;
    for (const std::string &page : pages)
        all += page;
    for (const auto &[component, value] : values) {
        SCOPED_TRACE(component + " = " + value);
        std::string printed;
        for (const std::string &line : ComponentTexts(document, component)) {
            printed += RecordKindTest::withoutBlanks(line);
            EXPECT_TRUE(Shows(all, line)) << line;
        }
        EXPECT_EQ(printed, RecordKindTest::withoutBlanks(value));
    }
}

void ExpectCaptions(const std::string &page, const std::vector<std::string> &captions)
{
    for (const std::string &caption : captions)
        EXPECT_TRUE(Shows(page, caption)) << caption;
}

} // namespace medrec::testing
