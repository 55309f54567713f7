// Golden page dumps of the engine's sample forms: a reviewed layout that any change to pagination,
// stretching or placement shows up against. Regenerate after a reviewed change with
// MEDREC_UPDATE_GOLDEN=1 ctest -R golden.

#include "ReportTestSupport.h"

#include "GoldenFile.h"
#include "report_engine/LayoutDump.h"

#include <gtest/gtest.h>

#include <functional>

namespace medrec::engine {
namespace {

using test::measurer;
using test::quietRun;

Document operationRecord()
{
    Report report(test::testForm("operation"), [](Report& r) {
        r.forEachComponent([](Component& c) {
            if (auto* l = std::get_if<Label>(&c); l && l->caption == "√")
                l->setCaption("");
        });
    });
    report.label("qlb_patno").setCaption("00001234");
    report.label("qlb_patName").setCaption("김세온");
    report.label("qrlb_Opstm").setCaption("2026-12-08 09:10");
    report.label("qrlb_OpName").setCaption("복강경 충수절제술 (Laparoscopic appendectomy)");
    report.label("qrlb_TissY").setCaption("■");
    report.memo("qrme_data").setText("관찰소견및수술중특이사항\r\n\r\n 충수는 부어 있고 끝부분에 천공이 의심되는 괴사가 "
                                     "있었으며, 주위에 약 30cc의 혼탁한 복수가 고여 있었음.\r\n수술절차\r\n\r\n 전신마취 "
                                     "하에 앙와위로 소독 후 배꼽 아래 12mm 투관침을 삽입함.");
    report.label("qrlb_Recid").setCaption("이집도");
    return report.run(measurer(), quietRun());
}

Document flowsheetTwoPages()
{
    Report report(test::testForm("flowsheet"));
    int row = 0;
    report.setNeedData([&](Report& r) {
        if (row >= 45)
            return false;
        ++row;
        r.label("qrlb_Data1").setCaption("2026-12-" + std::string(row < 10 ? "0" : "") + std::to_string(row % 28 + 1));
        r.label("qrlb_Data2").setCaption("09:30");
        r.label("qrlb_Data4").setCaption("경과 기록 " + std::to_string(row));
        r.label("qrlb_Data3").setCaption("김의사");
        return true;
    });
    return report.run(measurer(), quietRun());
}

Document transfusionLandscape()
{
    Report report(test::testForm("transfusion"));
    int row = 0;
    report.setNeedData([&](Report& r) {
        if (row >= 3)
            return false;
        r.label("qrlb_No").setCaption(std::to_string(++row));
        r.label("qrlb_BloodNm").setCaption("RBC");
        return true;
    });
    return report.run(measurer(), quietRun());
}

// Every element kind and flag the dump knows, a cut label (a warning) among them.
Document everyElement()
{
    Report report(test::inlineForm(R"json({"name": "every", "title": "모든 요소", "page": {"margins": 10,
      "border": {"sides": "all", "width": "2px"}}, "bands": [
      {"name": "d", "kind": "detail", "height": 40, "color": "#ECECEC", "frame": "bottom", "components": [
        {"type": "label", "name": "plain", "box": [0, 0, 60, 5], "caption": "왼쪽 \"따옴표\""},
        {"type": "label", "name": "bold", "box": [0, 6, 60, 5], "align": "center", "caption": "가운데",
         "font": {"bold": true, "italic": true, "underline": true, "size": 12, "color": "navy"}},
        {"type": "label", "name": "cut", "box": [0, 12, 15, 5], "align": "right", "caption": "잘리는 긴 글자"},
        {"type": "memo", "name": "memo", "box": [70, 0, 50, 5], "autoStretch": true, "lines": ["첫째", "둘째"]},
        {"type": "shape", "name": "oval", "shape": "ellipse", "box": [130, 0, 20, 10], "brush": "silver",
         "pen": {"width": "2px", "style": "dash"}},
        {"type": "shape", "name": "hollow", "box": [155, 0, 20, 10], "brush": null},
        {"type": "line", "name": "rule", "direction": "vertical", "box": [180, 0, 2, 30], "pen": {"style": "dot"}},
        {"type": "picture", "name": "logo", "file": "seon-logo.jpg", "box": [130, 12, 40, 12]},
        {"type": "label", "name": "bar", "box": [0, 20, 60, 10], "caption": "00001234",
         "font": {"family": "Code39(1:2)", "size": 20}}]},
      {"name": "pf", "kind": "pageFooter", "height": 6, "components": [
        {"type": "systemField", "name": "page", "box": [0, 0, 40, 5], "format": "{page} / {pages}"},
        {"type": "systemField", "name": "printed", "field": "dateTime", "box": [100, 0, 60, 5], "prefix": "출력: "}]}],
      "furniture": [{"type": "label", "name": "corner", "box": [150, 290, 50, 5], "align": "right",
                     "caption": "SEON-01"}]})json"));
    return report.run(measurer(), quietRun());
}

struct GoldenCase {
    const char* name;
    std::function<Document()> run;
};

void PrintTo(const GoldenCase& c, std::ostream* out)
{
    *out << c.name;
}

class PageDump : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(PageDump, MatchesItsGolden)
{
    EXPECT_TRUE(medrec::testing::matchesGolden("report_engine", GetParam().name, dumpDocument(GetParam().run())));
}

INSTANTIATE_TEST_SUITE_P(golden, PageDump,
                         ::testing::Values(GoldenCase{"operation", operationRecord},
                                           GoldenCase{"flowsheet-two-pages", flowsheetTwoPages},
                                           GoldenCase{"transfusion-landscape", transfusionLandscape},
                                           GoldenCase{"every-element", everyElement}),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

} // namespace
} // namespace medrec::engine
