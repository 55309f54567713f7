// The band features of the record forms: group headers kept with their first record and
// repeated on continuation pages, group footers, start-new-page, print-if-empty, a stretching
// page footer, bands taller than a page, several reports as one document.

#include "ReportTestSupport.h"

#include "report_engine/ReportError.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace medrec::engine {
namespace {

using test::elementsOf;
using test::measurer;
using test::quietRun;

// A4, 10 mm margins: the body is 190 x 277 mm from (10, 10).
std::string form(const std::string& bands, const std::string& pageExtras = "")
{
    return R"({"name": "bands", "page": {"margins": 10)" + pageExtras + R"(}, "bands": [)" + bands + "]}";
}

std::string band(const std::string& name, const std::string& kind, double height, const std::string& caption,
                 const std::string& extras = "")
{
    return R"({"name": ")" + name + R"(", "kind": ")" + kind + R"(", "height": )" + std::to_string(height) + extras +
           R"(, "components": [{"type": "label", "name": ")" + name + R"(_l", "box": [0, 0, 60, 5], "caption": ")" +
           caption + R"("}]})";
}

// "page:text" of every text element, in printing order.
std::vector<std::string> printed(const Document& doc)
{
    std::vector<std::string> out;
    for (const Page& page : doc.pages)
        for (const Element& e : page.elements)
            if (e.kind == ElementKind::Text)
                out.push_back(std::to_string(page.number) + ":" + e.text);
    return out;
}

// A need-data callback for `count` records, captioning `label` "<prefix><n>".
Report::NeedData records(int count, std::string label = {}, std::string prefix = {})
{
    auto next = std::make_shared<int>(0);
    return [=](Report& r) {
        if (*next >= count)
            return false;
        ++*next;
        if (!label.empty())
            r.label(label).setCaption(prefix + std::to_string(*next));
        return true;
    };
}

TEST(BandKeys, LoadOnTheKindsTheyBelongTo)
{
    const Form f = test::inlineForm(form(
        band("d", "detail", 8, "D", R"(, "printIfEmpty": true, "startNewPage": true)") + "," +
        band("gh", "groupHeader", 6, "H", R"(, "for": "sd", "repeatOnNewPage": true)") + "," +
        band("sd", "subDetail", 6, "L") + "," + band("gf", "groupFooter", 6, "F") + "," +
        band("df", "groupFooter", 6, "E", R"(, "for": "d", "startNewPage": true)")));
    EXPECT_TRUE(f.bands[0].printIfEmpty);
    EXPECT_TRUE(f.bands[0].startNewPage);
    EXPECT_TRUE(f.bands[1].repeatOnNewPage);
    EXPECT_EQ(f.bands[3].kind, BandKind::GroupFooter);
    EXPECT_EQ(f.bands[3].master, "sd") << "a footer without \"for\" closes the band before it";
    EXPECT_EQ(f.bands[4].master, "d");
    EXPECT_FALSE(f.bands[2].startNewPage || f.bands[2].printIfEmpty || f.bands[2].repeatOnNewPage);

    struct Case {
        const char* name;
        std::string bands;
        const char* message;
    };
    const std::vector<Case> cases{
        {"repeat on a detail", band("d", "detail", 8, "D", R"(, "repeatOnNewPage": true)"),
         "only a group header repeats on a new page"},
        {"print-if-empty on a header", band("g", "groupHeader", 8, "G", R"(, "printIfEmpty": true)") + "," +
                                           band("d", "detail", 8, "D"),
         "only a detail or sub-detail band prints when it has no records"},
        {"new page before the page header", band("ph", "pageHeader", 8, "P", R"(, "startNewPage": true)"),
         "only detail, sub-detail, group and summary bands start a new page"},
        {"footer closing nothing", band("gf", "groupFooter", 8, "F") + "," + band("d", "detail", 8, "D"),
         "group footer \"gf\" closes no detail or sub-detail band"},
        {"two footers", band("d", "detail", 8, "D") + "," + band("a", "groupFooter", 8, "A") + "," +
                            band("b", "groupFooter", 8, "B"),
         "band \"d\" has two group footers"},
        {"for on a summary", band("s", "summary", 8, "S", R"(, "for": "d")"),
         "only a group header or footer names a band"},
        {"a page header kept together", band("ph", "pageHeader", 8, "P", R"(, "keepTogether": true)"),
         "only detail, sub-detail, group and summary bands keep together"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            test::inlineForm(form(c.bands));
            ADD_FAILURE() << "no error";
        } catch (const ReportError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(GroupHeader, StaysWithItsFirstRecord)
{
    struct Case {
        const char* name;
        double title;
        bool stretchingRecord;
        int headerPage;
    };
    const std::vector<Case> cases{
        {"header and record fit", 240, false, 1},
        {"header fits, record does not", 262, false, 2},
        {"header fits with its record's first line", 262, true, 1},
        {"header does not fit", 270, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string detail =
            c.stretchingRecord
                ? R"({"name": "d", "kind": "detail", "height": 5, "components": [
                     {"type": "memo", "name": "d_l", "box": [0, 0, 100, 5], "autoStretch": true}]})"
                : band("d", "detail", 20, "D");
        Report report(test::inlineForm(
            form(band("t", "title", c.title, "T") + "," + band("g", "groupHeader", 10, "G") + "," + detail)));
        if (c.stretchingRecord)
            report.memo("d_l").setLines(std::vector<std::string>(20, "line"));
        const Document doc = report.run(measurer(), quietRun());
        const auto header = elementsOf(doc.pages.at(std::size_t(c.headerPage - 1)), "g_l");
        ASSERT_EQ(header.size(), 1u);
        const auto first = elementsOf(doc.pages.at(std::size_t(c.headerPage - 1)), "d_l");
        ASSERT_FALSE(first.empty()) << "the first record starts right below its header";
        EXPECT_NEAR(first[0]->rect.top, header[0]->rect.top + 10, 1e-9);
        EXPECT_TRUE(doc.warnings.empty());
    }
}

TEST(GroupHeader, RepeatsOnContinuationPagesWhereTheFormAsks)
{
    for (const bool repeat : {true, false}) {
        SCOPED_TRACE(repeat ? "repeatOnNewPage" : "once");
        Report report(test::inlineForm(
            form(band("ph", "pageHeader", 15, "PH") + "," +
                 band("g", "groupHeader", 10, "G", repeat ? R"(, "repeatOnNewPage": true)" : "") + "," +
                 band("d", "detail", 20, "D") + "," + band("s", "summary", 10, "S", R"(, "startNewPage": true)"))));
        report.setNeedData(records(30, "d_l", "D"));
        const Document doc = report.run(measurer(), quietRun());
        // 262 mm below the page header: 12 records under a group header, 13 without one.
        const std::vector<std::size_t> perPage = repeat ? std::vector<std::size_t>{12, 12, 6, 0}
                                                        : std::vector<std::size_t>{12, 13, 5, 0};
        ASSERT_EQ(doc.pages.size(), perPage.size());
        int record = 0;
        for (const Page& page : doc.pages) {
            SCOPED_TRACE("page " + std::to_string(page.number));
            const auto rows = elementsOf(page, "d_l");
            ASSERT_EQ(rows.size(), perPage[std::size_t(page.number - 1)]);
            const bool groupOpen = page.number < 4;
            const auto header = elementsOf(page, "g_l");
            ASSERT_EQ(header.size(), (page.number == 1 || (repeat && groupOpen)) ? 1u : 0u);
            if (!header.empty()) {
                EXPECT_DOUBLE_EQ(header[0]->rect.top, 25.0) << "right below the page header";
            }
            for (const Element* e : rows)
                EXPECT_EQ(e->text, "D" + std::to_string(++record));
            if (!rows.empty()) {
                EXPECT_DOUBLE_EQ(rows[0]->rect.top, header.empty() ? 25.0 : 35.0);
            }
        }
        EXPECT_EQ(elementsOf(doc.pages[3], "s_l").size(), 1u) << "the summary, after the group, alone";
        test::expectInsideMargins(doc);
    }
}

TEST(GroupFooter, FollowsTheLastRecordOfItsBand)
{
    Report report(test::inlineForm(form(
        band("d", "detail", 8, "D") + "," + band("gh", "groupHeader", 6, "[H]") + "," + band("sd", "subDetail", 6, "") +
        "," + band("gf", "groupFooter", 6, "[F]") + "," + band("sd2", "subDetail", 6, "never") + "," +
        band("gf2", "groupFooter", 6, "[F2]") + "," + band("dend", "groupFooter", 6, "[END]", R"(, "for": "d")") + "," +
        band("s", "summary", 6, "S"))));
    report.setNeedData(records(2, "d_l", "D"));
    auto lines = std::make_shared<int>(0);
    report.setBeforePrint([lines](Report&) { *lines = 0; });
    report.setNeedData("sd", [lines](Report& r) {
        if (*lines == 2) {
            *lines = 0; // the next record's lines
            return false;
        }
        r.label("sd_l").setCaption("L" + std::to_string(++*lines));
        return true;
    });
    report.setNeedData("sd2", [](Report&) { return false; });
    const Document doc = report.run(measurer(), quietRun());
    EXPECT_EQ(printed(doc), (std::vector<std::string>{"1:D1", "1:[H]", "1:L1", "1:L2", "1:[F]", "1:D2", "1:[H]", "1:L1",
                                                      "1:L2", "1:[F]", "1:[END]", "1:S"}));
}

TEST(PrintIfEmpty, PrintsTheBandOnceWhenThereIsNoRecord)
{
    struct Case {
        const char* name;
        bool detailIfEmpty;
        bool subIfEmpty;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"neither", false, false, {"1:T", "1:S"}},
        {"detail", true, false, {"1:T", "1:[H]", "1:D", "1:[F]", "1:S"}},
        {"detail and sub-detail", true, true, {"1:T", "1:[H]", "1:D", "1:sub", "1:[F]", "1:S"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Report report(test::inlineForm(
            form(band("t", "title", 8, "T") + "," + band("gh", "groupHeader", 6, "[H]") + "," +
                 band("d", "detail", 8, "D", c.detailIfEmpty ? R"(, "printIfEmpty": true)" : "") + "," +
                 band("sd", "subDetail", 6, "sub", c.subIfEmpty ? R"(, "printIfEmpty": true)" : "") + "," +
                 band("gf", "groupFooter", 6, "[F]", R"(, "for": "d")") + "," + band("s", "summary", 6, "S"))));
        int calls = 0;
        report.setNeedData([&](Report&) {
            ++calls;
            return false;
        });
        report.setNeedData("sd", [](Report&) { return false; });
        const Document doc = report.run(measurer(), quietRun());
        EXPECT_EQ(printed(doc), c.expected);
        EXPECT_EQ(calls, 1) << "asked once, never again after the empty print";
    }
}

TEST(StartNewPage, BeginsTheBandOnAFreshPageUnlessTheOneItIsOnIsStillEmpty)
{
    struct Case {
        const char* name;
        std::string bands;
        std::vector<std::string> expected;
    };
    const std::string sd = "," + band("sd", "subDetail", 6, "L");
    const std::vector<Case> cases{
        {"each record on its own page, the first under the title",
         band("t", "title", 8, "T") + "," + band("d", "detail", 8, "D", R"(, "startNewPage": true)"),
         {"1:T", "1:D1", "2:D2", "3:D3"}},
        {"the first record on an empty page stays there",
         band("ph", "pageHeader", 8, "PH") + "," + band("d", "detail", 8, "D", R"(, "startNewPage": true)"),
         {"1:PH", "1:D1", "2:PH", "2:D2", "3:PH", "3:D3"}},
        {"the summary on a page of its own",
         band("d", "detail", 8, "D") + "," + band("s", "summary", 8, "S", R"(, "startNewPage": true)"),
         {"1:D1", "1:D2", "1:D3", "2:S"}},
        {"a group header goes with its first record to the new page",
         band("d", "detail", 8, "D") + "," + band("g", "groupHeader", 6, "G") +
             "," + band("sd", "subDetail", 6, "L", R"(, "startNewPage": true)"),
         {"1:D1", "2:G", "2:L", "2:D2", "3:G", "3:L", "3:D3", "4:G", "4:L"}},
        {"each group on its own page",
         band("d", "detail", 8, "D") + "," + band("g", "groupHeader", 6, "G", R"(, "startNewPage": true)") + sd,
         {"1:D1", "2:G", "2:L", "2:D2", "3:G", "3:L", "3:D3", "4:G", "4:L"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Report report(test::inlineForm(form(c.bands)));
        report.setNeedData(records(3, "d_l", "D"));
        const Document doc = report.run(measurer(), quietRun());
        EXPECT_EQ(printed(doc), c.expected);
    }
}

TEST(PageFooter, AStretchingFooterKeepsItsRealHeightFreeOnEveryPage)
{
    Report report(test::inlineForm(form(band("d", "detail", 10, "D") + "," + R"(
        {"name": "pf", "kind": "pageFooter", "height": 6, "frame": "top", "components": [
          {"type": "memo", "name": "sign", "box": [0, 1, 100, 5], "autoStretch": true}]})")));
    const std::vector<std::string> lines{"작성자: 김간호", "확인자: 박수간호", "병동: 71", "비고: 없음", "끝"};
    report.memo("sign").setLines(lines);
    report.setNeedData(records(60, "d_l", "D"));
    const Document doc = report.run(measurer(), quietRun());
    const double lh = measurer().lineMetrics(report.memo("sign").font).height();
    const double footer = 6 + (5 * lh - 5);
    const auto perPage = std::size_t((277 - footer) / 10);
    ASSERT_LT(perPage, 27u) << "fewer records than the design height of the footer would leave room for";
    for (const Page& page : doc.pages) {
        SCOPED_TRACE("page " + std::to_string(page.number));
        const auto sign = elementsOf(page, "sign");
        ASSERT_EQ(sign.size(), lines.size());
        EXPECT_NEAR(sign.back()->rect.bottom(), 287, 1e-6);
        const auto rows = elementsOf(page, "d_l");
        if (page.number < int(doc.pages.size())) {
            EXPECT_EQ(rows.size(), perPage);
        }
        for (const Element* row : rows)
            EXPECT_LE(row->rect.top + 10, 287 - footer + 1e-6) << row->text << " overprints the footer";
    }
    EXPECT_TRUE(doc.warnings.empty());
    test::expectInsideMargins(doc);
}

TEST(TallBands, ContinueBetweenTextLinesAndOnlyAnOversizedLineIsCut)
{
    // A fixed memo box far taller than a page, a rule beside it through the whole band.
    Report report(test::inlineForm(form(R"(
        {"name": "d", "kind": "detail", "height": 610, "components": [
          {"type": "label", "name": "head", "box": [0, 0, 60, 5], "caption": "경과"},
          {"type": "memo", "name": "notes", "box": [0, 5, 120, 600]},
          {"type": "line", "name": "rule", "direction": "vertical", "box": [150, 0, 1, 610]}]})")));
    std::vector<std::string> lines;
    for (int i = 1; i <= 140; ++i)
        lines.push_back("기록 " + std::to_string(i));
    report.memo("notes").setLines(lines);
    const Document doc = report.run(measurer(), quietRun());
    ASSERT_EQ(doc.pages.size(), 3u);
    EXPECT_EQ(test::textsOf(doc, "notes"), lines) << "every line once, in order";
    for (const Page& page : doc.pages) {
        SCOPED_TRACE("page " + std::to_string(page.number));
        for (const Element* e : elementsOf(page, "notes"))
            EXPECT_FALSE(e->clip) << e->text << " is cut";
        EXPECT_EQ(elementsOf(page, "rule").size(), 1u) << "the rule continues on every page";
    }
    EXPECT_TRUE(doc.warnings.empty());
    test::expectInsideMargins(doc);
}

TEST(KeepTogether, AStretchedRecordMovesWholeUnlessAPageCannotHoldIt)
{
    // Records of a title line and a stretching memo of `lines` lines (5 mm each, about); 250 mm
    // of the 277 mm body are taken by a first record, so the second does not fit the rest.
    const auto run = [](bool keepTogether, int secondLines) {
        Report report(test::inlineForm(form(std::string(R"(
            {"name": "d", "kind": "detail", "height": 12)") +
                                            (keepTogether ? R"(, "keepTogether": true)" : "") + R"(, "components": [
              {"type": "label", "name": "head", "box": [0, 0, 60, 5]},
              {"type": "memo", "name": "notes", "box": [0, 6, 120, 5], "autoStretch": true}]})")));
        auto next = std::make_shared<int>(0);
        report.setNeedData([=](Report& r) {
            if (*next == 2)
                return false;
            ++*next;
            r.label("head").setCaption("record " + std::to_string(*next));
            std::vector<std::string> lines;
            for (int i = 1; i <= (*next == 1 ? 60 : secondLines); ++i)
                lines.push_back(std::to_string(*next) + "." + std::to_string(i));
            r.memo("notes").setLines(lines);
            return true;
        });
        return report.run(measurer(), quietRun());
    };
    const auto pageOf = [](const Document& doc, const std::string& text) {
        for (const Page& page : doc.pages)
            for (const Element& e : page.elements)
                if (e.text == text)
                    return page.number;
        return 0;
    };
    // Stretched, it continues where it stands: its head at the first page's foot.
    const Document continues = run(false, 8);
    EXPECT_EQ(pageOf(continues, "record 2"), 1);
    EXPECT_EQ(pageOf(continues, "2.8"), 2);
    // Kept together, the whole record goes to the next page.
    const Document whole = run(true, 8);
    ASSERT_EQ(whole.pages.size(), 2u);
    EXPECT_EQ(pageOf(whole, "record 2"), 2);
    EXPECT_EQ(pageOf(whole, "2.1"), 2);
    EXPECT_EQ(pageOf(whole, "2.8"), 2);
    // Taller than a page: it still starts on the next page, and is cut between its lines there.
    const Document tall = run(true, 80);
    EXPECT_EQ(pageOf(tall, "record 2"), 2);
    EXPECT_EQ(pageOf(tall, "2.80"), 3);
    EXPECT_EQ(test::textsOf(tall, "notes").size(), 140u) << "every line once";
    for (const Document* doc : {&continues, &whole, &tall})
        EXPECT_TRUE(doc->warnings.empty());
}

TEST(GrowToBottom, ColumnRulesFollowAStretchingBandAcrossAPageBreak)
{
    // A table row: a rule on each side of a stretching cell, one that does not grow, a box
    // round the cell that grows, and a rule below a second cell that starts lower.
    Report report(test::inlineForm(form(R"(
        {"name": "d", "kind": "detail", "height": 10, "components": [
          {"type": "line", "name": "left", "direction": "vertical", "box": [20, 0, 0.3, 10], "growToBottom": true},
          {"type": "line", "name": "fixed", "direction": "vertical", "box": [100, 0, 0.3, 10]},
          {"type": "line", "name": "slant", "direction": "diagonalUp", "box": [150, 2, 10, 6], "growToBottom": true},
          {"type": "shape", "name": "box", "box": [21, 1, 78, 8], "brush": null, "growToBottom": true},
          {"type": "memo", "name": "cell", "box": [22, 1, 70, 5], "autoStretch": true},
          {"type": "line", "name": "below", "direction": "vertical", "box": [180, 6, 0.3, 4], "growToBottom": true}]})")));
    const std::vector<std::string> short_{"한 줄"};
    std::vector<std::string> long_;
    for (int i = 1; i <= 100; ++i)
        long_.push_back("투약 " + std::to_string(i));
    auto record = std::make_shared<int>(0);
    report.setNeedData([&, record](Report& r) {
        if (*record == 2)
            return false;
        r.memo("cell").setLines(*record == 0 ? short_ : long_);
        ++*record;
        return true;
    });
    const Document doc = report.run(measurer(), quietRun());
    ASSERT_EQ(doc.pages.size(), 2u);
    const double lh = measurer().lineMetrics(report.memo("cell").font).height();
    const double growth = 100 * lh - 5;

    // The first record does not stretch: every rule keeps its designed length.
    const Page& first = doc.pages[0];
    EXPECT_NEAR(elementsOf(first, "left")[0]->rect.height, 10, 1e-6);
    EXPECT_NEAR(elementsOf(first, "box")[0]->rect.height, 8, 1e-6);
    EXPECT_NEAR(elementsOf(first, "below")[0]->rect.height, 4, 1e-6);

    // The second grows by `growth`: its rules reach the band's foot, the fixed one does not.
    const auto left = elementsOf(first, "left");
    ASSERT_EQ(left.size(), 2u);
    EXPECT_NEAR(left[1]->rect.height, 10 + growth, 1e-6);
    EXPECT_TRUE(left[1]->clip) << "cut at the page foot, continued on the next page";
    EXPECT_NEAR(elementsOf(first, "fixed")[1]->rect.height, 10, 1e-6);
    EXPECT_NEAR(elementsOf(first, "box")[1]->rect.height, 8 + growth, 1e-6);
    const Element& slant = *elementsOf(first, "slant")[1];
    EXPECT_NEAR(slant.from.y - slant.to.y, 6 + growth, 1e-6) << "the lower end moves down";

    // A rule lying below the stretching memo moves down with it and keeps its length.
    const Page& second = doc.pages[1];
    EXPECT_EQ(elementsOf(first, "below").size(), 1u);
    ASSERT_EQ(elementsOf(second, "below").size(), 1u);
    EXPECT_NEAR(elementsOf(second, "below")[0]->rect.height, 4, 1e-6);

    ASSERT_EQ(elementsOf(second, "left").size(), 1u);
    EXPECT_EQ(elementsOf(second, "fixed").size(), 0u);
    const auto lastLine = elementsOf(second, "cell").back();
    const Element& rest = *elementsOf(second, "left")[0];
    EXPECT_GE(rest.clip->bottom(), lastLine->rect.bottom() - 1e-6) << "the rule runs down beside the last line";
    EXPECT_EQ(test::textsOf(doc, "cell").size(), 101u);
    EXPECT_TRUE(doc.warnings.empty());
    test::expectInsideMargins(doc);
}

TEST(TallBands, ALineOrPictureTallerThanAPageIsCutWithAWarning)
{
    struct Case {
        const char* name;
        std::string component;
        std::string cut;
    };
    const std::vector<Case> cases{
        {"a line of a huge font",
         R"({"type": "label", "name": "huge", "box": [0, 0, 190, 300], "caption": "가", "font": {"size": 720}})", "huge"},
        {"a picture taller than the page",
         R"({"type": "picture", "name": "tall", "box": [0, 0, 50, 300], "file": "seon-logo.jpg"})", "tall"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Report report(test::inlineForm(form(R"({"name": "d", "kind": "detail", "height": 300, "components": [)" +
                                            c.component + "]}")));
        std::vector<std::string> messages;
        const Document doc = report.run(measurer(), quietRun(&messages));
        EXPECT_EQ(doc.pages.size(), 2u);
        ASSERT_EQ(doc.warnings.size(), 1u);
        EXPECT_EQ(doc.warnings[0].kind, WarningKind::BandCut);
        EXPECT_EQ(doc.warnings[0].band, "d");
        EXPECT_EQ(doc.warnings[0].component, c.cut);
        EXPECT_EQ(messages, std::vector<std::string>{doc.warnings[0].message});
    }
}

TEST(RunAll, ReportsOfDifferentPageSetupsPrintAsOneDocument)
{
    const std::string pageNo = R"(, {"name": "pf", "kind": "pageFooter", "height": 6, "components": [
        {"type": "systemField", "name": "no", "box": [0, 0, 40, 5], "format": "{page}/{pages}"}]})";
    Report first(test::inlineForm(form(band("d", "detail", 100, "D") + pageNo)));
    first.setNeedData(records(4));
    Report second(test::inlineForm(R"({"name": "second", "title": "두 번째",
        "page": {"size": "A5", "orientation": "landscape", "margins": 10}, "bands": [)" +
                                   band("d", "detail", 100, "E") + pageNo + "]}"));
    second.setNeedData(records(3));
    RunOptions options = quietRun();
    std::vector<int> laidOut; // as each page is complete, the count running on into the second report
    options.pageLaidOut = [&](int pages) { laidOut.push_back(pages); };
    const Document doc = runAll({&first, &second}, measurer(), options);
    ASSERT_EQ(doc.pages.size(), 5u);
    EXPECT_EQ(laidOut, (std::vector<int>{1, 2, 3, 4, 5}));
    struct Expected {
        int number;
        SizeMm paper;
        Orientation orientation;
        std::string pageNo;
    };
    const std::vector<Expected> expected{
        {1, {210, 297}, Orientation::Portrait, "1/2"},  {2, {210, 297}, Orientation::Portrait, "2/2"},
        {1, {210, 148}, Orientation::Landscape, "1/3"}, {2, {210, 148}, Orientation::Landscape, "2/3"},
        {3, {210, 148}, Orientation::Landscape, "3/3"},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        const Page& page = doc.pages[i];
        EXPECT_EQ(page.number, expected[i].number);
        EXPECT_EQ(page.paper, expected[i].paper);
        EXPECT_EQ(page.orientation, expected[i].orientation);
        ASSERT_EQ(elementsOf(page, "no").size(), 1u);
        EXPECT_EQ(elementsOf(page, "no")[0]->text, expected[i].pageNo);
    }
    EXPECT_EQ(doc.title, "bands");
    test::expectInsideMargins(doc);
}

TEST(RunAll, AFailingReportLeavesNoDocument)
{
    Report first(test::inlineForm(form(band("d", "detail", 10, "D"))));
    Report failing(test::inlineForm(form(band("d", "detail", 10, "D"))));
    failing.setNeedData([](Report&) -> bool { throw std::runtime_error("record conversion failed"); });
    EXPECT_THROW(runAll({&first, &failing}, measurer(), quietRun()), std::runtime_error);
}

} // namespace
} // namespace medrec::engine
