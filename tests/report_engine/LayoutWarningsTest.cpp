// What the layout cuts or leaves out is never silent: each case is a warning in the document,
// naming the form, band and component, and a line in the run's log.

#include "ReportTestSupport.h"

#include <gtest/gtest.h>

namespace medrec::engine {
namespace {

using test::measurer;
using test::quietRun;

std::string form(const std::string& bands, const std::string& extras = "")
{
    return R"({"name": "warned", "page": {"margins": 10}, "bands": [)" + bands + "]" + extras + "}";
}

struct Expected {
    WarningKind kind;
    std::string band;
    std::string component;
    std::string text;
};

std::string describe(const std::vector<LayoutWarning>& warnings)
{
    std::string out;
    for (const LayoutWarning& w : warnings)
        out += std::string(warningKindName(w.kind)) + " " + w.band + "/" + w.component + " \"" + w.text + "\"\n";
    return out;
}

TEST(LayoutWarnings, EachCutOrDropIsNamedInTheDocumentAndTheLog)
{
    const std::string longText = "이 글은 라벨의 폭보다 훨씬 길어서 잘립니다";
    struct Case {
        const char* name;
        std::string json;
        std::vector<Expected> expected;
    };
    const std::vector<Case> cases{
        {"fixed label narrower than its text",
         form(R"({"name": "d", "kind": "detail", "height": 10, "components": [
               {"type": "label", "name": "long", "box": [0, 0, 20, 5], "caption": ")" + longText + R"("}]})"),
         {{WarningKind::TextCut, "d", "long", longText}}},
        {"right-aligned text cut on its left",
         form(R"({"name": "d", "kind": "detail", "height": 10, "components": [
               {"type": "label", "name": "r", "box": [50, 0, 20, 5], "align": "right", "caption": ")" + longText + R"("}]})"),
         {{WarningKind::TextCut, "d", "r", longText}}},
        {"word-wrapped label that does not stretch",
         form(R"({"name": "d", "kind": "detail", "height": 10, "components": [
               {"type": "label", "name": "w", "box": [0, 0, 30, 5], "wordWrap": true,
                "caption": "첫 줄은 보이고 나머지 줄들은 라벨 높이 밖으로 넘칩니다"}]})"),
         {{WarningKind::LinesHidden, "d", "w", ""}}},
        {"memo that does not stretch",
         form(R"({"name": "d", "kind": "detail", "height": 10, "components": [
               {"type": "memo", "name": "m", "box": [0, 0, 80, 5], "lines": ["one", "", "three", "four"]}]})"),
         {{WarningKind::LinesHidden, "d", "m", "three"}}},
        {"label hanging over the band's right edge",
         form(R"({"name": "d", "kind": "detail", "height": 10, "components": [
               {"type": "label", "name": "hang", "box": [180, 0, 25, 5], "caption": "hangs out"}]})"),
         {{WarningKind::ClippedByBand, "d", "hang", "hangs out"}}},
        {"label below the band's foot",
         form(R"({"name": "d", "kind": "detail", "height": 10, "components": [
               {"type": "label", "name": "low", "box": [0, 8, 40, 5], "caption": "half below"}]})"),
         {{WarningKind::ClippedByBand, "d", "low", "half below"}}},
        {"page header taller than the page",
         form(R"({"name": "ph", "kind": "pageHeader", "height": 300, "components": [
               {"type": "label", "name": "h", "box": [0, 0, 40, 5], "caption": "H"}]},
               {"name": "d", "kind": "detail", "height": 10})"),
         {{WarningKind::BandCut, "ph", "", ""}, {WarningKind::BandDropped, "d", "", ""}}},
        {"picture that cannot be read",
         form(R"({"name": "d", "kind": "detail", "height": 10, "components": [
               {"type": "picture", "name": "pic", "box": [0, 0, 20, 10], "file": "no-such-logo.jpg"}]})"),
         {{WarningKind::PictureUnreadable, "d", "pic", "no-such-logo.jpg"}}},
        {"furniture label cut, once for all pages",
         form(R"({"name": "d", "kind": "detail", "height": 200})",
              R"(, "furniture": [{"type": "label", "name": "f", "box": [10, 290, 20, 5], "caption": ")" + longText +
                  R"("}])"),
         {{WarningKind::TextCut, "", "f", longText}}},
        {"what fits, stretches, sizes itself or is hidden off the band is no warning",
         form(R"({"name": "d", "kind": "detail", "height": 30, "components": [
               {"type": "label", "name": "fits", "box": [0, 0, 60, 5], "align": "right", "caption": "짧은 글"},
               {"type": "label", "name": "auto", "box": [100, 0, 1, 5], "autoSize": true, "caption": ")" + longText + R"("},
               {"type": "label", "name": "grow", "box": [0, 6, 30, 5], "wordWrap": true, "autoStretch": true, "caption": ")" +
                  longText + R"("},
               {"type": "label", "name": "hidden", "box": [0, -500, 30, 5], "caption": ")" + longText + R"("},
               {"type": "memo", "name": "empty", "box": [0, 12, 30, 5], "lines": ["one", "", ""]},
               {"type": "label", "name": "tight", "box": [0, 26, 30, 4], "caption": "딱 맞는 줄"}]})"),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Report report(test::inlineForm(c.json));
        int records = 0;
        report.setNeedData([&](Report&) { return records++ < 3; });
        std::vector<std::string> messages;
        const Document doc = report.run(measurer(), quietRun(&messages));
        ASSERT_EQ(doc.warnings.size(), c.expected.size()) << describe(doc.warnings);
        ASSERT_EQ(messages.size(), c.expected.size());
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const LayoutWarning& w = doc.warnings[i];
            const Expected& e = c.expected[i];
            EXPECT_EQ(w.kind, e.kind) << warningKindName(w.kind);
            EXPECT_EQ(w.form, "warned");
            EXPECT_EQ(w.band, e.band);
            EXPECT_EQ(w.component, e.component);
            if (!e.text.empty()) {
                EXPECT_EQ(w.text, e.text);
            }
            EXPECT_EQ(w.page, 1);
            EXPECT_EQ(messages[i], w.message);
            EXPECT_NE(w.message.find("\"warned\""), std::string::npos) << w.message;
            if (!e.component.empty()) {
                EXPECT_NE(w.message.find("\"" + e.component + "\""), std::string::npos) << w.message;
            }
            if (!e.band.empty()) {
                EXPECT_NE(w.message.find("\"" + e.band + "\""), std::string::npos) << w.message;
            }
        }
    }
}

TEST(LayoutWarnings, HiddenLinesAreCountedFromTheFirstOneNotPrinted)
{
    Report report(test::inlineForm(form(R"({"name": "d", "kind": "detail", "height": 10, "components": [
        {"type": "memo", "name": "m", "box": [0, 0, 80, 5], "lines": ["one", "two", "", "four"]}]})")));
    const Document doc = report.run(measurer(), quietRun());
    ASSERT_EQ(doc.warnings.size(), 1u);
    EXPECT_EQ(doc.warnings[0].text, "two");
    EXPECT_NE(doc.warnings[0].message.find("2 lines"), std::string::npos) << doc.warnings[0].message;
}

TEST(LayoutWarnings, EachRecordsCutTextOnceWithItsPage)
{
    Report report(test::inlineForm(form(R"({"name": "d", "kind": "detail", "height": 100, "components": [
        {"type": "label", "name": "v", "box": [0, 0, 15, 5]}]})")));
    // Records 1 and 2 fit; 3 and 4 are cut (4 twice, with the same text: one warning).
    const std::vector<std::string> values{"짧다", "짧다", "세 번째 값이 깁니다", "네 번째 값이 깁니다", "네 번째 값이 깁니다"};
    std::size_t next = 0;
    report.setNeedData([&](Report& r) {
        if (next >= values.size())
            return false;
        r.label("v").setCaption(values[next++]);
        return true;
    });
    const Document doc = report.run(measurer(), quietRun());
    ASSERT_EQ(doc.pages.size(), 3u);
    ASSERT_EQ(doc.warnings.size(), 2u) << describe(doc.warnings);
    EXPECT_EQ(doc.warnings[0].text, values[2]);
    EXPECT_EQ(doc.warnings[0].page, 2);
    EXPECT_EQ(doc.warnings[1].text, values[3]);
    EXPECT_EQ(doc.warnings[1].page, 2);
}

TEST(LayoutWarnings, TheSampleFormsPrintWithout)
{
    for (const char* name : {"flowsheet", "operation", "transfusion"}) {
        SCOPED_TRACE(name);
        Report report(test::testForm(name));
        int records = 0;
        report.setNeedData([&](Report&) { return records++ < 40; });
        EXPECT_EQ(describe(report.run(measurer(), quietRun()).warnings), "");
    }
}

TEST(LayoutWarnings, AppendedDocumentsKeepTheirWarnings)
{
    Report cut(test::inlineForm(form(R"({"name": "d", "kind": "detail", "height": 10, "components": [
        {"type": "label", "name": "long", "box": [0, 0, 10, 5], "caption": "cut off text"}]})")));
    Document doc = cut.run(measurer(), quietRun());
    doc.append(cut.run(measurer(), quietRun()));
    EXPECT_EQ(doc.warnings.size(), 2u) << "one per run";
}

} // namespace
} // namespace medrec::engine
