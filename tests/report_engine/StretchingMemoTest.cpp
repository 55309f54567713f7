// A stretching memo split across pages: lines marked keep-with-next (a note's headings) never end
// a page, and the part continued on a new page sits as far below the page header as the memo sits
// below its band's top on the first.

#include "ReportTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace medrec::engine {
namespace {

using test::elementsOf;
using test::measurer;
using test::quietRun;
using test::textsOf;

// A4 with 10 mm margins: the body runs from 10 to 287 mm; below a 20 mm page header the detail
// band holds one stretching memo `memoTop` below its top and nothing under it.
constexpr double kBandTop = 10 + 20;
constexpr double kBodyBottom = 287;

struct MemoForm {
    double memoTop = 1.5;
    std::string memoKeys;  // more keys of the memo
    std::string above;     // components of the band above the memo, each followed by a comma
    std::string bandKeys;  // more keys of the detail band
};

std::string json(const MemoForm& f)
{
    return R"({"name": "note", "page": {"margins": 10, "font": {"family": "굴림체", "size": 10}}, "bands": [
        {"name": "head", "kind": "pageHeader", "height": 20, "frame": "bottom", "components": [
          {"type": "label", "name": "title", "box": [0, 5, 60, 6], "caption": "경과기록"}]},
        {"name": "d", "kind": "detail", "height": )" +
           std::to_string(f.memoTop + 5) + f.bandKeys + R"(, "components": [)" + f.above +
           R"({"type": "memo", "name": "m", "box": [1, )" + std::to_string(f.memoTop) +
           R"(, 180, 5], "autoStretch": true)" + f.memoKeys + "}]}]}";
}

double lineHeight(Report& report)
{
    return measurer().lineMetrics(report.memo("m").font).height();
}

// Memo lines one page holds, the memo's gap below the page header taken.
std::size_t linesPerPage(double memoTop, double lineHeight)
{
    return std::size_t(std::floor((kBodyBottom - kBandTop - memoTop) / lineHeight + 1e-9));
}

std::vector<std::string> records(std::size_t count)
{
    std::vector<std::string> lines;
    for (std::size_t i = 1; i <= count; ++i)
        lines.push_back("기록 " + std::to_string(i));
    return lines;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The memo's first text element on each page.
std::vector<const Element*> pageStarts(const Document& doc)
{
    std::vector<const Element*> starts;
    for (const Page& page : doc.pages) {
        const auto memo = elementsOf(page, "m");
        starts.push_back(memo.empty() ? nullptr : memo.front());
    }
    return starts;
}

TEST(KeepWithNext, AMarkedLineNeverEndsAPage)
{
    Report probe(test::inlineForm(json({})));
    const std::size_t n = linesPerPage(1.5, lineHeight(probe));
    ASSERT_GT(n, 10u);
    const std::string heading = "■치료목표】";
    std::string longHeading;
    while (longHeading.size() < 200 * n)
        longHeading += "【입원사유 주소 현병력 과거력 가족력】 ";
    const std::vector<std::string> longLines = probe.wrapLines("m", longHeading, measurer());
    ASSERT_GT(longLines.size(), n);
    ASSERT_LT(longLines.size(), 2 * n - 1);
    const auto blanks = [](std::size_t count) { return std::vector<std::string>(count, ""); };

    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::vector<std::size_t> marks;
        std::vector<std::string> pageStarts; // the memo's first line on each page, one per page
    };
    const std::vector<Case> cases{
        {"unmarked, the heading ends the first page", records(n - 1) + std::vector<std::string>{heading, "목표 1", "끝"},
         {}, {"기록 1", "목표 1"}},
        {"marked, it moves with its first line", records(n - 1) + std::vector<std::string>{heading, "목표 1", "끝"},
         {n - 1}, {"기록 1", heading}},
        {"blank and blank-looking lines between move with it",
         records(n - 3) + std::vector<std::string>{heading, "", " \t ", "식후 우상복부 통증", "끝"}, {n - 3},
         {"기록 1", heading}},
        {"a chain of headings moves as one",
         records(n - 2) + std::vector<std::string>{"■Care Plan】", "   【1. 진단 및 병리 검사 계획】", "CBC", "끝"},
         {n - 2, n - 1}, {"기록 1", "■Care Plan】"}},
        {"a heading first on its page stays", records(n) + std::vector<std::string>{heading, "", "목표 1"}, {n},
         {"기록 1", heading}},
        {"a heading with more blank lines after it than a page holds stays first on its page",
         records(n) + std::vector<std::string>{heading} + blanks(n + 2) + std::vector<std::string>{"목표 1"}, {n},
         {"기록 1", heading, "목표 1"}},
        {"a memo that ends with its heading", records(n - 1) + std::vector<std::string>{heading}, {n - 1}, {"기록 1"}},
        {"marks past the end do nothing", records(n - 1) + std::vector<std::string>{heading, "목표 1"},
         {n + 1, std::numeric_limits<std::size_t>::max()}, {"기록 1", "목표 1"}},
        {"a heading longer than a page starts a page and is split between its lines",
         records(3) + std::vector<std::string>{longHeading, "목표 1"}, {3}, {"기록 1", longLines[0], longLines[n]}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Report report(test::inlineForm(json({})));
        report.memo("m").setLines(c.lines);
        report.memo("m").setKeepWithNext(c.marks);
        const Document doc = report.run(measurer(), quietRun());

        std::vector<std::string> expected;
        for (const std::string& line : c.lines)
            for (std::string& piece : report.wrapLines("m", line, measurer()))
                if (!piece.empty())
                    expected.push_back(std::move(piece));
        EXPECT_EQ(textsOf(doc, "m"), expected) << "every line once, in order";

        const auto starts = pageStarts(doc);
        ASSERT_EQ(starts.size(), c.pageStarts.size());
        for (std::size_t p = 0; p < starts.size(); ++p) {
            SCOPED_TRACE("page " + std::to_string(p + 1));
            ASSERT_NE(starts[p], nullptr);
            EXPECT_EQ(starts[p]->text, c.pageStarts[p]);
        }
        // What moved sits at the memo's place on the page, not lower.
        if (starts.size() > 1) {
            EXPECT_NEAR(starts[1]->rect.top, kBandTop + 1.5, 1e-9);
        }
        EXPECT_TRUE(doc.warnings.empty());
        test::expectInsideMargins(doc);
    }
}

TEST(KeepWithNext, NewLinesDropTheMarks)
{
    Memo memo;
    memo.setText("■C.C】\r\n\r\n주소");
    memo.setKeepWithNext({0});
    memo.setText("다른 글");
    EXPECT_TRUE(memo.keepWithNext.empty()) << "setText";
    memo.setKeepWithNext({0});
    memo.setLines({"a", "b"});
    EXPECT_TRUE(memo.keepWithNext.empty()) << "setLines";
    memo.setKeepWithNext({0});
    memo.clear();
    EXPECT_TRUE(memo.keepWithNext.empty()) << "clear";
}

TEST(StretchingMemo, ContinuesAsFarBelowThePageHeaderAsItStartsBelowWhatIsAboveIt)
{
    struct Case {
        const char* name;
        MemoForm form;
        double continuedGap; // below the page header on the pages after the first
    };
    const std::string caption = R"({"type": "label", "name": "cap", "box": [1, 1, 40, 5], "caption": "경과"},)";
    const std::string tallCaption = R"({"type": "label", "name": "cap", "box": [1, 1, 40, 120], "caption": "경과"},)";
    const std::vector<Case> cases{
        {"flush with its band's top", {0, "", "", ""}, 0},
        {"0.6 mm down", {0.6, "", "", ""}, 0.6},
        {"1.5 mm down", {1.5, "", "", ""}, 1.5},
        {"framed, 4 mm down in a coloured band", {4, R"(, "frame": "all")", "", R"(, "color": "silver")"}, 4},
        {"1 mm below a caption of its band", {7, "", caption, ""}, 1},
        // Not the caption's height again: that left a page nearly empty.
        {"far down its band, 2 mm below what is above it", {123, "", tallCaption, ""}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Report report(test::inlineForm(json(c.form)));
        const std::size_t onFirst = linesPerPage(c.form.memoTop, lineHeight(report));
        const std::size_t onNext = linesPerPage(c.continuedGap, lineHeight(report));
        const std::vector<std::string> lines = records(onFirst + onNext + 5);
        report.memo("m").setLines(lines);
        const Document doc = report.run(measurer(), quietRun());
        ASSERT_EQ(doc.pages.size(), 3u);
        EXPECT_EQ(textsOf(doc, "m"), lines) << "every line once, in order";

        for (const Page& page : doc.pages) {
            SCOPED_TRACE("page " + std::to_string(page.number));
            const auto memo = elementsOf(page, "m");
            ASSERT_FALSE(memo.empty());
            const Element* first = nullptr;
            double frameTop = std::numeric_limits<double>::infinity();
            for (const Element* e : memo) {
                if (e->kind == ElementKind::Text && !first)
                    first = e;
                if (e->kind == ElementKind::Line)
                    frameTop = std::min(frameTop, e->rect.top);
            }
            ASSERT_NE(first, nullptr);
            const std::size_t k = std::size_t(page.number - 1);
            EXPECT_EQ(first->text, lines[k == 0 ? 0 : onFirst + (k - 1) * onNext]);
            EXPECT_NEAR(first->rect.top - kBandTop, k == 0 ? c.form.memoTop : c.continuedGap, 1e-9);
            if (!c.form.memoKeys.empty()) {
                EXPECT_NEAR(frameTop, first->rect.top, 1e-9) << "the memo's frame starts with its text";
            }
            for (const Element& e : page.elements) {
                if (e.band == "d" && e.component.empty() && e.kind == ElementKind::Shape) {
                    EXPECT_NEAR(e.rect.top, kBandTop, 1e-9) << "the band's colour fills the gap";
                }
            }
            EXPECT_EQ(elementsOf(page, "cap").size(), !c.form.above.empty() && page.number == 1 ? 1u : 0u);
        }
        EXPECT_TRUE(doc.warnings.empty());
        test::expectInsideMargins(doc);
    }
}

TEST(StretchingMemo, APageNeverBreaksInsideABlankLine)
{
    // The memo placed so that the page foot falls half-way through a blank line.
    Report probe(test::inlineForm(json({})));
    const double lh = lineHeight(probe);
    const double memoTop = std::fmod(kBodyBottom - kBandTop - lh / 2, lh);
    Report report(test::inlineForm(json({memoTop, "", "", ""})));
    const std::size_t n = linesPerPage(memoTop, lh);
    report.memo("m").setLines(records(n) + std::vector<std::string>{"", "다음 줄"});
    const Document doc = report.run(measurer(), quietRun());
    ASSERT_EQ(doc.pages.size(), 2u);
    const auto next = elementsOf(doc.pages[1], "m");
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0]->text, "다음 줄");
    EXPECT_NEAR(next[0]->rect.top, kBandTop + report.memo("m").box.top + lh, 1e-9)
        << "the blank line above it moved whole";
}

} // namespace
} // namespace medrec::engine
