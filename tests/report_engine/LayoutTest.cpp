// Laid-out pages of whole runs with real fonts: pagination, repeated headers, stretching memos,
// the need-data callback and what it may change per record.

#include "ReportTestSupport.h"

#include "report_engine/ReportError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace medrec::engine {
namespace {

using test::countOf;
using test::elementsOf;
using test::expectInsideMargins;
using test::measurer;
using test::quietRun;
using test::testForm;
using test::textsOf;

std::string numbered(const char* prefix, int n)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%03d", prefix, n);
    return buf;
}

// A need-data callback handing out `count` progress-note lines.
struct NoteRows {
    int count = 0;
    int next = 0;
    int calls = 0;
    bool operator()(Report& r)
    {
        ++calls;
        if (next >= count)
            return false;
        ++next;
        r.label("qrlb_Data1").setCaption(numbered("R", next));
        r.label("qrlb_Data2").setCaption("09:30");
        r.label("qrlb_Data4").setCaption(numbered("경과 기록 내용 ", next));
        r.label("qrlb_Data3").setCaption("김의사");
        return true;
    }
};

class Flowsheet : public ::testing::Test {
protected:
    Flowsheet() : report(testForm("flowsheet")) {}
    Report report;
};

TEST_F(Flowsheet, RecordsFillThePagesTheGeometryPredicts)
{
    auto rows = std::make_shared<NoteRows>();
    rows->count = 120;
    report.setNeedData([rows](Report& r) { return (*rows)(r); });
    report.label("qrlb_patname").setCaption("김세온");
    const Document doc = report.run(measurer(), quietRun());

    const RectMm body = report.form().page.body();
    const double header = report.band("QRBand2").height;
    const double columns = report.band("QRBand1").height;
    const double detail = report.band("band_Detail").height;
    const int perPage = int(std::floor((body.height - header - columns) / detail + 1e-9));
    const int pages = (120 + perPage - 1) / perPage;
    ASSERT_EQ(int(doc.pages.size()), pages);
    EXPECT_EQ(rows->calls, 121) << "once per record plus the final no";

    int record = 0;
    for (const Page& page : doc.pages) {
        SCOPED_TRACE("page " + std::to_string(page.number));
        EXPECT_EQ(page.number, record / perPage + 1);
        ASSERT_EQ(elementsOf(page, "qrlb_Title").size(), 1u);
        EXPECT_DOUBLE_EQ(elementsOf(page, "qrlb_Title")[0]->rect.top, body.top + 9);
        ASSERT_EQ(elementsOf(page, "qrlb_patname").size(), 1u);
        int columnHeaderPieces = 0;
        for (const Element& e : page.elements)
            columnHeaderPieces += e.band == "QRBand1";
        EXPECT_GT(columnHeaderPieces, 0);
        EXPECT_EQ(elementsOf(page, "QRLabel10").size(), 1u) << "furniture";
        ASSERT_EQ(elementsOf(page, "qrs_PageNo").size(), 1u);
        EXPECT_EQ(elementsOf(page, "qrs_PageNo")[0]->text,
                  std::to_string(page.number) + " / " + std::to_string(pages));

        const auto dates = elementsOf(page, "qrlb_Data1");
        const int expected = std::min(perPage, 120 - record);
        ASSERT_EQ(int(dates.size()), expected);
        for (int k = 0; k < expected; ++k) {
            ++record;
            EXPECT_EQ(dates[std::size_t(k)]->text, numbered("R", record));
            EXPECT_NEAR(dates[std::size_t(k)]->rect.top, body.top + header + columns + k * detail + px(3), 1e-6);
        }
    }
    EXPECT_EQ(record, 120);
    expectInsideMargins(doc);
}

TEST_F(Flowsheet, NoRecordsStillPrintsThePageFrame)
{
    auto rows = std::make_shared<NoteRows>();
    report.setNeedData([rows](Report& r) { return (*rows)(r); });
    const Document doc = report.run(measurer(), quietRun());
    EXPECT_EQ(rows->calls, 1);
    ASSERT_EQ(doc.pages.size(), 1u);
    EXPECT_EQ(countOf(doc, "qrlb_Title"), 1);
    EXPECT_EQ(countOf(doc, "qrlb_Data1"), 0);
    EXPECT_EQ(countOf(doc, "HLine1"), 0);
}

TEST_F(Flowsheet, BandColourAndMovedComponentsShowOnTheirRecordOnly)
{
    int next = 0;
    report.setNeedData([&](Report& r) {
        if (next >= 10)
            return false;
        ++next;
        const bool dayBar = next == 5;
        // What the nursing record's callback does: a grey bar with the row's labels moved off it.
        Band& band = r.band("band_Detail");
        if (dayBar)
            band.setColor(Color::silver());
        else
            band.setColor(Color::white());
        for (const char* name : {"qrlb_Data1", "qrlb_Data2", "qrlb_Data3", "qrlb_Data4"})
            r.label(name).setTop(dayBar ? px(-2000) : px(3));
        for (const char* name : {"HLine1", "HLine2", "HLine3"})
            r.line(name).setTop(dayBar ? px(-2000) : 0);
        r.label("qrlb_Data1").setCaption(numbered("R", next));
        r.label("qrlb_Data4").setCaption(numbered("N", next));
        r.label("qrlb_Data4").setLeft(next == 7 ? 46.8 : 36.8);
        r.label("qrlb_Data4").setBold(next == 7);
        // The bottom rule moved right, out of the band, except on the last line of a note.
        r.line("LineBottom").setLeft(next % 2 ? 0 : px(1000));
        return true;
    });
    const Document doc = report.run(measurer(), quietRun());
    ASSERT_EQ(doc.pages.size(), 1u);
    const Page& page = doc.pages[0];
    const double top0 = page.body.top + report.band("QRBand2").height + report.band("QRBand1").height;
    const double h = report.band("band_Detail").height;

    int silver = 0;
    for (const Element& e : page.elements) {
        if (e.band == "band_Detail" && e.kind == ElementKind::Shape && e.fill == Color::silver()) {
            ++silver;
            EXPECT_NEAR(e.rect.top, top0 + 4 * h, 1e-6);
            EXPECT_NEAR(e.rect.height, h, 1e-6);
        }
    }
    EXPECT_EQ(silver, 1);
    const auto dates = textsOf(doc, "qrlb_Data1");
    EXPECT_EQ(dates.size(), 9u);
    EXPECT_EQ(std::count(dates.begin(), dates.end(), "R005"), 0);
    EXPECT_EQ(countOf(doc, "HLine1"), 9);
    for (const Element* e : elementsOf(page, "qrlb_Data4")) {
        SCOPED_TRACE(e->text);
        EXPECT_DOUBLE_EQ(e->rect.left, page.body.left + (e->text == "N007" ? 46.8 : 36.8));
        EXPECT_EQ(e->font.bold, e->text == "N007");
    }
    EXPECT_EQ(countOf(doc, "LineBottom"), 5);
    expectInsideMargins(doc);
}

TEST_F(Flowsheet, DisabledComponentPrintsNowhere)
{
    auto rows = std::make_shared<NoteRows>();
    rows->count = 50;
    report.setNeedData([rows](Report& r) { return (*rows)(r); });
    report.label("qrlb_Data2").setEnabled(false);
    report.component("QRLabel12").setEnabled(false); // furniture
    const Document doc = report.run(measurer(), quietRun());
    ASSERT_GT(doc.pages.size(), 1u);
    EXPECT_EQ(countOf(doc, "qrlb_Data2"), 0);
    EXPECT_EQ(countOf(doc, "QRLabel12"), 0);
    EXPECT_EQ(countOf(doc, "qrlb_Data3"), 50);
}

TEST_F(Flowsheet, UnknownNamesAndWrongTypesFailLoudly)
{
    EXPECT_THROW(report.label("qrlb_Nothing"), ReportError);
    EXPECT_THROW(report.band("band_Nothing"), ReportError);
    EXPECT_THROW(report.label("band_Detail"), ReportError) << "a band is not a label";
    try {
        report.memo("qrlb_Data1");
        FAIL() << "no exception";
    } catch (const ReportError& e) {
        EXPECT_NE(std::string(e.what()).find("is a label, not a memo"), std::string::npos) << e.what();
    }
    EXPECT_THROW(report.setNeedData("band_Detail", [](Report&) { return false; }), ReportError);
}

TEST_F(Flowsheet, CreationHookAndBeforePrintRunAtTheirTimes)
{
    int created = 0;
    Report r(testForm("flowsheet"), [&](Report& rep) {
        ++created;
        rep.label("qrlb_Data1").setCaption("from the hook");
    });
    EXPECT_EQ(created, 1);
    int before = 0;
    int row = 0;
    r.setBeforePrint([&](Report&) {
        ++before;
        row = 0; // a second run starts again at the first row
    });
    r.setNeedData([&](Report&) { return row++ < 3; });
    EXPECT_EQ(textsOf(r.run(measurer(), quietRun()), "qrlb_Data1").size(), 3u);
    EXPECT_EQ(textsOf(r.run(measurer(), quietRun()), "qrlb_Data1").size(), 3u);
    EXPECT_EQ(before, 2);
    EXPECT_EQ(created, 1);
}

class OperationRecord : public ::testing::Test {
protected:
    OperationRecord() : report(testForm("operation"), [](Report& r) {
        // The form's creation hook: design marks "√" start empty.
        r.forEachComponent([](Component& c) {
            if (auto* l = std::get_if<Label>(&c); l && l->caption == "√")
                l->setCaption("");
        });
    })
    {
    }
    Report report;
};

TEST_F(OperationRecord, MemoThreePagesLongContinuesAndTheSummaryFollows)
{
    const FontSpec font = report.memo("qrme_data").font;
    const double lh = measurer().lineMetrics(font).height();
    const RectMm body = report.form().page.body();
    const double header = report.band("PageHeaderBand1").height;
    const double title = report.band("TitleBand1").height;
    const int firstPage = int((body.height - header - title) / lh);
    const int nextPage = int((body.height - header) / lh);
    const int total = firstPage + nextPage + 12;
    std::vector<std::string> lines;
    for (int i = 1; i <= total; ++i)
        lines.push_back(numbered("수술 소견 ", i));
    report.memo("qrme_data").setLines(lines);
    report.label("qrlb_Recid").setCaption("이집도");

    const Document doc = report.run(measurer(), quietRun());
    ASSERT_EQ(doc.pages.size(), 3u);
    EXPECT_EQ(textsOf(doc, "qrme_data"), lines) << "every line once, in order";

    double lastMemoBottom = 0;
    for (const Page& page : doc.pages) {
        SCOPED_TRACE("page " + std::to_string(page.number));
        EXPECT_EQ(elementsOf(page, "QRLabel2").size(), 1u) << "page header on every page";
        EXPECT_EQ(elementsOf(page, "QRLabel50").size(), 1u) << "furniture on every page";
        const auto memo = elementsOf(page, "qrme_data");
        ASSERT_FALSE(memo.empty());
        if (page.number > 1) { // as far under the repeated page header as under its band's top
            EXPECT_NEAR(memo.front()->rect.top, body.top + header + report.memo("qrme_data").box.top, 1e-6);
        }
        for (const Element* e : memo)
            EXPECT_LE(e->rect.bottom(), body.bottom() + 1e-6);
        lastMemoBottom = memo.back()->rect.bottom();
    }
    for (const Page& page : doc.pages) {
        int title = 0;
        for (const Element& e : page.elements)
            title += e.band == "TitleBand1";
        EXPECT_EQ(title > 0, page.number == 1) << "the title band prints on the first page only";
    }
    const auto recid = elementsOf(doc.pages[2], "qrlb_Recid");
    ASSERT_EQ(recid.size(), 1u);
    EXPECT_GT(recid[0]->rect.top, lastMemoBottom);
    EXPECT_EQ(countOf(doc, "qrlb_Recid"), 1);
    expectInsideMargins(doc);
}

TEST_F(OperationRecord, DetailPrintsOnceAndDesignDisabledComponentsNever)
{
    report.label("qrlb_Opstm").setCaption("09:10");
    report.label("qrlb_OpDate").setCaption("2026-12-08");
    report.label("qrlb_OpDr1").setCaption("이집도");
    report.memo("qrme_data").setText("관찰소견및수술중특이사항\r\n\r\n 특이사항 없음\r\n\r\n");
    report.label("qrlb_TissY").setCaption("■");
    const Document doc = report.run(measurer(), quietRun());
    ASSERT_EQ(doc.pages.size(), 1u);
    EXPECT_EQ(textsOf(doc, "qrme_data"), (std::vector<std::string>{"관찰소견및수술중특이사항", " 특이사항 없음"}));
    EXPECT_EQ(countOf(doc, "qrlb_Opstm"), 1);
    for (const char* disabled : {"qrlb_OpDate", "QRLabel30", "qrlb_OpDr1", "QRLabel40", "QRShape9"}) {
        SCOPED_TRACE(disabled);
        EXPECT_EQ(countOf(doc, disabled), 0);
    }
    EXPECT_EQ(textsOf(doc, "qrlb_TissY"), std::vector<std::string>{"■"});
    EXPECT_EQ(countOf(doc, "qrlb_TissN"), 0) << "the creation hook emptied the design mark";
    // The memo's band ends where its text ends (gap kept): the summary follows right below it.
    const auto memo = elementsOf(doc.pages[0], "qrme_data");
    const RectMm body = report.form().page.body();
    const double detailTop = body.top + report.band("PageHeaderBand1").height + report.band("TitleBand1").height;
    const double lh = measurer().lineMetrics(report.memo("qrme_data").font).height();
    EXPECT_NEAR(memo.front()->rect.top, detailTop + 0.6, 1e-6);
    const double detailHeight = 5.56 + (4 * lh - 4.4);
    for (const Element& e : doc.pages[0].elements) {
        if (e.band == "SummaryBand1") {
            EXPECT_GE(e.rect.top, detailTop + detailHeight - 1e-6);
        }
    }
    expectInsideMargins(doc);
}

TEST(Transfusion, LandscapePagesWithPerRecordBandHeights)
{
    Report report(testForm("transfusion"));
    // Observation counts per unit of blood; the band is as tall as its observation rows.
    const std::vector<int> observations{0, 1, 2, 3, 4, 5, 6, 7, 8, 8};
    const double heights[] = {9.53, 18.79, 27.78, 36.78, 45.77};
    std::size_t row = 0;
    int calls = 0;
    report.setNeedData([&](Report& r) {
        ++calls;
        if (row >= observations.size())
            return false;
        const int k = observations[row++];
        r.label("qrlb_No").setCaption(std::to_string(row));
        for (int slot = 1; slot <= 8; ++slot) {
            const bool on = slot <= k;
            for (const std::string name : {"QRLabelT", "QRLabelE", "QRLineS"})
                r.component(name + std::to_string(slot)).setEnabled(on);
            r.label("qrlb_Remark" + std::to_string(slot + 2)).setEnabled(on);
            r.label("qrlb_Remark" + std::to_string(slot + 2)).setCaption("BP 120/80 PR 80 BT 36.5");
            r.label("qrlb_etc" + std::to_string(slot)).setEnabled(on);
        }
        r.band("band_Detail").setHeight(heights[(k + 1) / 2]);
        return true;
    });
    const Document doc = report.run(measurer(), quietRun());
    EXPECT_EQ(calls, int(observations.size()) + 1);
    ASSERT_FALSE(doc.pages.empty());
    for (const Page& page : doc.pages) {
        EXPECT_EQ(page.orientation, Orientation::Landscape);
        EXPECT_EQ(page.paper, (SizeMm{297, 210}));
        EXPECT_EQ(page.body, (RectMm{5, 10, 282, 185}));
        ASSERT_EQ(elementsOf(page, "qrs_PrintDate").size(), 1u);
        EXPECT_EQ(elementsOf(page, "qrs_PrintDate")[0]->text, "2026-12-09 14:30:05");
    }
    // Each record's bottom frame line lies at its own height below the record's top, and the
    // record shows as many observations as it has.
    struct Record {
        int page;
        double top;
    };
    std::vector<Record> records;
    std::vector<double> bottoms;
    for (const Page& page : doc.pages)
        for (const Element& e : page.elements) {
            if (e.component == "qrlb_No")
                records.push_back({page.number, e.rect.top - 1});
            if (e.band == "band_Detail" && e.component.empty() && e.kind == ElementKind::Line && e.from.y == e.to.y)
                bottoms.push_back(e.from.y + e.pen.width / 2);
        }
    ASSERT_EQ(records.size(), observations.size());
    ASSERT_EQ(bottoms.size(), observations.size());
    for (std::size_t i = 0; i < observations.size(); ++i) {
        SCOPED_TRACE("record " + std::to_string(i + 1));
        const double height = heights[(observations[i] + 1) / 2];
        EXPECT_NEAR(bottoms[i] - records[i].top, height, 1e-6);
        int shown = 0;
        for (const Element& e : doc.pages[std::size_t(records[i].page - 1)].elements)
            shown += e.component.rfind("qrlb_Remark", 0) == 0 && e.rect.top >= records[i].top &&
                     e.rect.top < records[i].top + height;
        EXPECT_EQ(shown, observations[i]);
    }
    EXPECT_GT(records.back().page, 1) << "the records need more than one landscape page";
    EXPECT_EQ(countOf(doc, "qrlb_Remark10"), 2) << "only the two records with eight observations";
    expectInsideMargins(doc);
}

// A compact form for the flag and band-order cases.
std::string smallForm(const std::string& pageExtras, const std::string& bands)
{
    return R"({"name": "small", "page": {"margins": 10)" + pageExtras + R"(}, "bands": [)" + bands + "]}";
}

TEST(BandOrder, FirstPageHeaderAndLastPageFooterFlags)
{
    const std::string bands = R"(
        {"name": "ph", "kind": "pageHeader", "height": 20, "components": [{"type": "label", "name": "head", "box": [0, 0, 50, 5], "caption": "H"}]},
        {"name": "tb", "kind": "title", "height": 30, "components": [{"type": "label", "name": "title", "box": [0, 0, 50, 5], "caption": "T"}]},
        {"name": "d", "kind": "detail", "height": 100, "components": [{"type": "label", "name": "row", "box": [0, 0, 50, 5], "caption": "R"}]},
        {"name": "pf", "kind": "pageFooter", "height": 10, "components": [{"type": "label", "name": "foot", "box": [0, 0, 50, 5], "caption": "F"}]})";
    struct Case {
        bool headerFirst;
        bool footerLast;
    };
    for (const Case c : {Case{true, true}, Case{false, false}}) {
        SCOPED_TRACE(std::string("header first ") + (c.headerFirst ? "on" : "off") + ", footer last " +
                     (c.footerLast ? "on" : "off"));
        const std::string flags = std::string(R"(, "pageHeaderOnFirstPage": )") + (c.headerFirst ? "true" : "false") +
                                  R"(, "pageFooterOnLastPage": )" + (c.footerLast ? "true" : "false");
        Report report(test::inlineForm(smallForm(flags, bands)));
        int n = 0;
        report.setNeedData([&](Report&) { return n++ < 4; });
        const Document doc = report.run(measurer(), quietRun());
        // 277 mm body, 10 mm footer, 30 mm title: 2 records on page 1 (with or without
        // the 20 mm header), 2 on page 2.
        ASSERT_EQ(doc.pages.size(), 2u);
        EXPECT_EQ(elementsOf(doc.pages[0], "head").size(), c.headerFirst ? 1u : 0u);
        EXPECT_EQ(elementsOf(doc.pages[1], "head").size(), 1u);
        EXPECT_EQ(elementsOf(doc.pages[0], "title").size(), 1u);
        EXPECT_EQ(elementsOf(doc.pages[1], "title").size(), 0u);
        EXPECT_EQ(elementsOf(doc.pages[0], "foot").size(), 1u);
        EXPECT_EQ(elementsOf(doc.pages[1], "foot").size(), c.footerLast ? 1u : 0u);
        const double titleTop = elementsOf(doc.pages[0], "title")[0]->rect.top;
        EXPECT_DOUBLE_EQ(titleTop, c.headerFirst ? 30.0 : 10.0) << "the title follows the page header";
        EXPECT_DOUBLE_EQ(elementsOf(doc.pages[0], "foot")[0]->rect.top, 287.0 - 10);
    }
}

TEST(BandOrder, SubDetailsFollowEachRecordWithTheirGroupHeaders)
{
    Report report(test::inlineForm(smallForm("", R"(
        {"name": "sum", "kind": "summary", "height": 8, "components": [{"type": "label", "name": "s", "caption": "S", "box": [0,0,9,5]}]},
        {"name": "d", "kind": "detail", "height": 8, "components": [{"type": "label", "name": "dl", "caption": "D", "box": [0,0,9,5]}]},
        {"name": "g1", "kind": "groupHeader", "height": 6, "components": [{"type": "label", "name": "g1l", "caption": "[치료계획]", "box": [0,0,30,5]}]},
        {"name": "sd1", "kind": "subDetail", "height": 6, "components": [{"type": "label", "name": "sd1l", "box": [0,0,30,5]}]},
        {"name": "g2", "kind": "groupHeader", "height": 6, "components": [{"type": "label", "name": "g2l", "caption": "[모니터링]", "box": [0,0,30,5]}]},
        {"name": "sd2", "kind": "subDetail", "height": 6, "components": [{"type": "label", "name": "sd2l", "caption": "once", "box": [0,0,30,5]}]})")));
    int rows = 0;
    report.setNeedData("sd1", [&](Report& r) {
        if (rows == 3)
            return false;
        r.label("sd1l").setCaption("line " + std::to_string(++rows));
        return true;
    });
    const Document doc = report.run(measurer(), quietRun());
    ASSERT_EQ(doc.pages.size(), 1u);
    std::vector<std::string> order;
    for (const Element& e : doc.pages[0].elements)
        if (e.kind == ElementKind::Text)
            order.push_back(e.text);
    EXPECT_EQ(order, (std::vector<std::string>{"D", "[치료계획]", "line 1", "line 2", "line 3", "[모니터링]", "once", "S"}));
    double y = 0;
    for (const Element& e : doc.pages[0].elements) {
        EXPECT_GE(e.rect.top, y) << e.text;
        y = e.rect.top;
    }
}

TEST(BandOrder, FixedBandsMoveWholeToTheNextPage)
{
    Report report(test::inlineForm(smallForm("", R"(
        {"name": "d", "kind": "detail", "height": 100, "frame": "all", "components": [{"type": "label", "name": "dl", "box": [0,95,9,5]}]})")));
    int n = 0;
    report.setNeedData([&](Report& r) {
        r.label("dl").setCaption(std::to_string(++n));
        return n <= 3;
    });
    const Document doc = report.run(measurer(), quietRun());
    ASSERT_EQ(doc.pages.size(), 2u);
    EXPECT_EQ(elementsOf(doc.pages[0], "dl").size(), 2u);
    ASSERT_EQ(elementsOf(doc.pages[1], "dl").size(), 1u);
    EXPECT_DOUBLE_EQ(elementsOf(doc.pages[1], "dl")[0]->rect.top, 10.0 + 95);
    expectInsideMargins(doc);
}

TEST(PageCount, APageNumberThatIsNotPrintedLeavesTheOtherElementsAlone)
{
    // A "{pages}" field is filled in once the page count is known; one that prints nothing on
    // its page (no width, or clipped away whole) must not fill in the element after it.
    struct Case {
        const char* name;
        const char* box;
    };
    const Case cases[] = {{"no width", "[0, 0, 0, 4]"}, {"outside the band", "[300, 0, 30, 4]"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Report report(test::inlineForm(smallForm("", std::string(R"(
            {"name": "d", "kind": "detail", "height": 100, "components": [{"type": "label", "name": "row", "box": [0,0,9,5], "caption": "R"}]},
            {"name": "pf", "kind": "pageFooter", "height": 10, "components": [
              {"type": "systemField", "name": "pn", "field": "pageNumber", "format": "{page}/{pages}", "box": )") +
                                                             c.box + R"(},
              {"type": "label", "name": "after", "box": [50, 0, 40, 5], "caption": "AFTER"},
              {"type": "systemField", "name": "shown", "field": "pageNumber", "format": "{page}/{pages}", "box": [100, 0, 40, 5]}]})")));
        int n = 0;
        report.setNeedData([&](Report&) { return n++ < 5; });
        const Document doc = report.run(measurer(), quietRun());
        ASSERT_EQ(doc.pages.size(), 3u);
        EXPECT_EQ(countOf(doc, "pn"), 0);
        EXPECT_EQ(textsOf(doc, "after"), (std::vector<std::string>{"AFTER", "AFTER", "AFTER"}));
        EXPECT_EQ(textsOf(doc, "shown"), (std::vector<std::string>{"1/3", "2/3", "3/3"}));
    }
}

TEST(BandOrder, ABandTallerThanAPageContinuesBetweenItsComponents)
{
    Report report(test::inlineForm(smallForm("", R"(
        {"name": "d", "kind": "detail", "height": 400, "components": [
          {"type": "label", "name": "top", "box": [0,0,9,5], "caption": "top"},
          {"type": "label", "name": "low", "box": [0,390,9,5], "caption": "low"}]})")));
    int n = 0;
    report.setNeedData([&](Report&) { return n++ < 2; });
    std::vector<std::string> messages;
    const Document doc = report.run(measurer(), quietRun(&messages));
    // Each record: 277 mm on one page, the rest at the top of the next; the second record starts
    // on a page of its own rather than being cut twice.
    ASSERT_EQ(doc.pages.size(), 4u);
    for (std::size_t p : {0u, 2u}) {
        ASSERT_EQ(elementsOf(doc.pages[p], "top").size(), 1u);
        EXPECT_DOUBLE_EQ(elementsOf(doc.pages[p], "top")[0]->rect.top, 10.0);
        ASSERT_EQ(elementsOf(doc.pages[p + 1], "low").size(), 1u);
        EXPECT_NEAR(elementsOf(doc.pages[p + 1], "low")[0]->rect.top, 10.0 + 390 - 277, 1e-9);
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(doc.warnings.empty());
    expectInsideMargins(doc);
}

// The run of a report whose 5 mm memo "m" holds five lines, and how much the memo grew.
struct FiveLineRun {
    Document doc;
    double lineHeight = 0;
    double growth = 0;
};

FiveLineRun runWithFiveLineMemo(Report& report)
{
    report.memo("m").setLines({"one", "two", "three", "four", "five"});
    FiveLineRun run{report.run(measurer(), quietRun())};
    run.lineHeight = measurer().lineMetrics(report.memo("m").font).height();
    run.growth = 5 * run.lineHeight - 5;
    return run;
}

TEST(Components, StretchingMemoMovesWhatLiesBelowIt)
{
    Report report(test::inlineForm(smallForm("", R"(
        {"name": "d", "kind": "detail", "height": 20, "frame": "bottom", "components": [
          {"type": "label", "name": "beside", "box": [120, 2, 40, 5], "caption": "beside"},
          {"type": "memo", "name": "m", "box": [0, 2, 100, 5], "autoStretch": true, "frame": "all"},
          {"type": "label", "name": "below", "box": [0, 12, 40, 5], "caption": "below"}]})")));
    const FiveLineRun run = runWithFiveLineMemo(report);
    const Page& page = run.doc.pages.at(0);
    const double lh = run.lineHeight;
    const double growth = run.growth;
    ASSERT_GT(growth, 0);
    EXPECT_DOUBLE_EQ(elementsOf(page, "beside")[0]->rect.top, 12.0);
    EXPECT_NEAR(elementsOf(page, "below")[0]->rect.top, 10 + 12 + growth, 1e-9);
    // The memo's frame grew with it, and so did the band (its bottom rule moved down).
    double frameBottom = 0;
    double bandBottom = 0;
    for (const Element& e : page.elements) {
        if (e.component == "m" && e.kind == ElementKind::Line)
            frameBottom = std::max(frameBottom, e.rect.bottom());
        if (e.component.empty() && e.band == "d" && e.kind == ElementKind::Line)
            bandBottom = e.rect.bottom();
    }
    EXPECT_NEAR(frameBottom, 10 + 2 + 5 * lh, 1e-9);
    EXPECT_NEAR(bandBottom, 10 + 20 + growth, 1e-9);
}

TEST(Components, FramesThatFollowStretchKeepEnclosingTheRowsThatGrew)
{
    // A ruled box of two rows: the first row's text grows; the box, its middle rule and the
    // frame that follows reach down with it, the one that does not keeps its height, and a
    // frame above the growing text only moves.
    Report report(test::inlineForm(smallForm("", R"(
        {"name": "d", "kind": "detail", "height": 40, "components": [
          {"type": "shape", "name": "head", "box": [0, 0, 100, 4], "brush": null, "followStretch": true},
          {"type": "shape", "name": "box", "box": [0, 5, 100, 20], "brush": null, "followStretch": true},
          {"type": "line", "name": "side", "box": [30, 5, "1px", 20], "direction": "vertical", "followStretch": true},
          {"type": "line", "name": "fixed", "box": [60, 5, "1px", 20], "direction": "vertical"},
          {"type": "memo", "name": "m", "box": [31, 6, 29, 5], "autoStretch": true},
          {"type": "line", "name": "rule", "box": [0, 15, 100, "1px"]},
          {"type": "label", "name": "second", "box": [31, 17, 29, 5], "caption": "second row"}]})")));
    const FiveLineRun run = runWithFiveLineMemo(report);
    const Page& page = run.doc.pages.at(0);
    const double growth = run.growth;
    ASSERT_GT(growth, 0);
    const auto rectOf = [&](const char* name) { return elementsOf(page, name).at(0)->rect; };
    const double px = 25.4 / 96;
    EXPECT_NEAR(elementsOf(page, "rule").at(0)->from.y, 10 + 15 + px / 2 + growth, 1e-9);
    EXPECT_NEAR(rectOf("second").top, 10 + 17 + growth, 1e-9);
    EXPECT_NEAR(rectOf("box").bottom(), 10 + 25 + growth, 1e-9);
    EXPECT_NEAR(rectOf("side").bottom(), 10 + 25 + growth, 1e-9);
    EXPECT_NEAR(elementsOf(page, "side").at(0)->to.y, 10 + 25 + growth, 1e-9);
    EXPECT_NEAR(rectOf("fixed").bottom(), 10 + 25, 1e-9);
    EXPECT_NEAR(rectOf("head").bottom(), 10 + 4, 1e-9);
}

TEST(Components, FollowStretchIsForShapesAndVerticalLinesOnly)
{
    EXPECT_THROW(test::inlineForm(smallForm("", R"(
        {"name": "d", "kind": "detail", "height": 40, "components": [
          {"type": "line", "box": [0, 5, 100, "1px"], "followStretch": true}]})")),
                 ReportError);
}

TEST(Components, LabelWidthsAlignmentAndClipping)
{
    Report report(test::inlineForm(smallForm("", R"(
        {"name": "d", "kind": "detail", "height": 30, "components": [
          {"type": "label", "name": "right", "box": [0, 0, 50, 5], "align": "right", "caption": "오른쪽"},
          {"type": "label", "name": "center", "box": [0, 6, 50, 5], "align": "center", "caption": "가운데"},
          {"type": "label", "name": "auto", "box": [100, 12, 1, 5], "autoSize": true, "align": "right", "caption": "자동 너비"},
          {"type": "label", "name": "long", "box": [0, 18, 20, 5], "caption": "잘리는 아주 긴 글자들이 이어집니다"},
          {"type": "label", "name": "wrap", "box": [60, 0, 30, 25], "wordWrap": true, "caption": "여러 줄로 나뉘는 긴 글이 상자 안에 들어갑니다"},
          {"type": "label", "name": "hang", "box": [170, 0, 40, 5], "caption": "band edge reaching out of it"}]})")));
    const Document doc = report.run(measurer(), quietRun());
    const Page& page = doc.pages.at(0);
    const Element& right = *elementsOf(page, "right").at(0);
    EXPECT_NEAR(right.origin.x + right.textWidth, 10 + 50, 1e-9);
    EXPECT_FALSE(right.clip);
    const Element& center = *elementsOf(page, "center").at(0);
    EXPECT_NEAR(center.origin.x - 10, 50 - (center.origin.x - 10 + center.textWidth), 1e-9);
    const Element& automatic = *elementsOf(page, "auto").at(0);
    EXPECT_NEAR(automatic.rect.width, automatic.textWidth, 1e-9);
    EXPECT_NEAR(automatic.rect.right(), 10 + 101, 1e-9) << "right-aligned auto width keeps its right edge";
    const Element& cut = *elementsOf(page, "long").at(0);
    ASSERT_TRUE(cut.clip);
    EXPECT_DOUBLE_EQ(cut.clip->left, 10.0);
    EXPECT_DOUBLE_EQ(cut.clip->width, 20.0);
    const auto wrapped = elementsOf(page, "wrap");
    EXPECT_GT(wrapped.size(), 1u);
    for (const Element* e : wrapped)
        EXPECT_LE(e->textWidth, 30 + 1e-6) << e->text;
    const Element& hang = *elementsOf(page, "hang").at(0);
    ASSERT_TRUE(hang.clip) << "a label reaching past the band is cut at the band's edge";
    EXPECT_DOUBLE_EQ(hang.clip->right(), 10 + 190.0);
}

} // namespace
} // namespace medrec::engine
