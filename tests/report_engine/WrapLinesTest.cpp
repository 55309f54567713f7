// Report::wrapLines against the layout itself: the lines it promises are the lines a word-wrapped
// label of that width prints.

#include "ReportTestSupport.h"

#include "report_engine/ReportError.h"

#include <gtest/gtest.h>

#include <cmath>

namespace medrec::engine {
namespace {

using test::measurer;
using test::quietRun;

// A note column as the nursing records have it: a word-wrapped, stretching label, and a plain
// one-line label of the same width and font for a block that prints one line per record.
constexpr const char* kForm = R"({"name": "notes", "page": {"margins": 10}, "bands": [
  {"name": "d", "kind": "detail", "height": 6, "components": [
    {"type": "label", "name": "note", "box": [20, 0, 63.5, 5], "wordWrap": true, "autoStretch": true,
     "font": {"family": "굴림체", "size": 9}},
    {"type": "label", "name": "line", "box": [100, 0, 63.5, 5], "font": {"family": "굴림체", "size": 9}},
    {"type": "label", "name": "auto", "box": [170, 0, 10, 5], "autoSize": true},
    {"type": "shape", "name": "box", "box": [0, 0, 5, 5]}]}]})";

const std::vector<std::pair<const char*, std::string>>& texts()
{
    static const std::vector<std::pair<const char*, std::string>> cases{
        {"short", "혈압 120/80"},
        {"korean sentence",
         "환자 의식 명료하며 통증 호소 없음. 수술 부위 드레싱 상태 양호하고 삼출물 없음. 활력징후 안정적으로 유지됨."},
        {"latin words", "Patient alert and oriented, ambulating with assistance, tolerating regular diet well."},
        {"one long word", std::string(120, 'X')},
        {"line breaks and an empty line", "첫째 줄\r\n\r\n셋째 줄은 조금 더 길어서 라벨의 폭을 넘어 다음 줄로 이어집니다\nLF 줄"},
        {"leading blanks and runs of blanks", "   들여쓴 문단     사이에     빈칸이 많은       글이 길게 이어집니다 끝"},
        {"mixed", "BP 130/85 mmHg, PR 88회/분, BT 37.2℃ — 해열제 투여 후 재측정 예정 (Tylenol 650mg PO)"},
    };
    return cases;
}

// The lines of a label as printed: each text element at its line slot, empty lines as "".
std::vector<std::string> printedLines(const Document& doc, std::string_view component, double lineHeight)
{
    std::vector<std::string> lines;
    double firstTop = NAN;
    for (const Page& page : doc.pages)
        for (const Element* e : test::elementsOf(page, component)) {
            if (e->kind != ElementKind::Text)
                continue;
            if (std::isnan(firstTop))
                firstTop = e->rect.top;
            const auto slot = std::size_t(std::lround((e->rect.top - firstTop) / lineHeight));
            if (lines.size() <= slot)
                lines.resize(slot + 1);
            lines[slot] = e->text;
        }
    return lines;
}

TEST(WrapLines, EqualTheLinesAWordWrappedLabelPrints)
{
    for (const auto& [name, text] : texts()) {
        SCOPED_TRACE(name);
        Report report(test::inlineForm(kForm));
        report.label("note").setCaption(text);
        const std::vector<std::string> promised = report.wrapLines("note", text, measurer());
        const Document doc = report.run(measurer(), quietRun());
        ASSERT_EQ(doc.pages.size(), 1u);
        const double lh = measurer().lineMetrics(report.label("note").font).height();
        std::vector<std::string> printed = printedLines(doc, "note", lh);
        // Trailing empty lines print nothing, so the printed list may end earlier.
        printed.resize(promised.size());
        EXPECT_EQ(printed, promised);
        EXPECT_GT(promised.size(), std::string(name) == "short" ? 0u : 1u);
        // The same lines whichever label of that width and font is asked.
        EXPECT_EQ(report.wrapLines("line", text, measurer()), promised);
    }
}

TEST(WrapLines, OneLinePerRecordFromInsideTheRunNeverCutsText)
{
    for (const auto& [name, text] : texts()) {
        SCOPED_TRACE(name);
        Report report(test::inlineForm(kForm));
        std::vector<std::string> lines;
        std::size_t next = 0;
        report.setBeforePrint([&](Report& r) {
            lines = r.wrapLines("line", text);
            next = 0;
        });
        report.setNeedData([&](Report& r) {
            if (next >= lines.size())
                return false;
            r.label("line").setCaption(lines[next++]);
            return true;
        });
        std::vector<std::string> messages;
        const Document doc = report.run(measurer(), quietRun(&messages));
        EXPECT_TRUE(messages.empty());
        std::vector<std::string> printed;
        for (const Page& page : doc.pages)
            for (const Element* e : test::elementsOf(page, "line")) {
                EXPECT_FALSE(e->clip) << e->text << ": a line as wide as the label is never cut";
                printed.push_back(e->text);
            }
        std::vector<std::string> nonEmpty;
        for (const std::string& l : lines)
            if (!l.empty())
                nonEmpty.push_back(l);
        EXPECT_EQ(printed, nonEmpty);
    }
}

TEST(WrapLines, NamesAndPlacesWithoutALineWidth)
{
    Report report(test::inlineForm(kForm));
    EXPECT_EQ(report.measurer(), nullptr);
    EXPECT_THROW(report.wrapLines("note", "text"), ReportError) << "no run, no measurer";
    EXPECT_THROW(report.wrapLines("nothing", "text", measurer()), ReportError);
    EXPECT_THROW(report.wrapLines("box", "text", measurer()), ReportError);
    EXPECT_THROW(report.wrapLines("d", "text", measurer()), ReportError) << "a band has no width of its own";
    EXPECT_TRUE(report.wrapLines("note", "", measurer()).empty());
    EXPECT_EQ(report.wrapLines("auto", "a long text that is never wrapped\r\nsecond", measurer()),
              (std::vector<std::string>{"a long text that is never wrapped", "second"}));
    const TextMeasurer* during = nullptr;
    report.setBeforePrint([&](Report& r) { during = r.measurer(); });
    report.run(measurer(), quietRun());
    EXPECT_EQ(during, &measurer());
    EXPECT_EQ(report.measurer(), nullptr) << "only while the run lasts";
}

} // namespace
} // namespace medrec::engine
