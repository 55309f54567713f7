// Form files: what they may say, and that every fault names its place.

#include "ReportTestSupport.h"

#include "report_engine/FormLoader.h"
#include "report_engine/ReportError.h"

#include <gtest/gtest.h>

#include <fstream>

namespace medrec::engine {
namespace {

TEST(FormLoader, DefaultsUnitsAndInheritedFonts)
{
    const Form form = parseForm(R"({
        "name": "qr_01",
        // comments are allowed
        "styles": {"head": {"family": "바탕체", "size": 14, "bold": true}},
        "page": {"font": {"family": "굴림체", "size": 10}, "margins": {"left": "1cm", "right": 15}},
        "bands": [
          {"name": "b", "kind": "detail", "height": "22px", "color": 12632256, "font": {"size": 9}, "frame": "left right",
           "components": [
             {"type": "label", "name": "a", "box": ["10px", "9pt", 20, 5], "caption": "가"},
             {"type": "label", "name": "h", "left": 1, "top": 2, "width": 3, "height": 4, "style": "head", "font": {"size": 12}},
             {"type": "shape", "name": "s", "brush": "#102030", "pen": {"width": "2px", "color": "clNavy"}},
             {"type": "line", "name": "l", "box": [0, 5, 100, 0], "pen": {"width": 0.5}},
             {"type": "memo", "name": "m", "text": "x\r\ny"},
             {"type": "systemField", "name": "p", "field": "dateTime", "format": "yyyy.MM.dd", "enabled": false}
           ]}
        ]})");
    EXPECT_EQ(form.title, "qr_01");
    EXPECT_EQ(form.page.paper, (SizeMm{210, 297}));
    EXPECT_EQ(form.page.orientation, Orientation::Portrait);
    EXPECT_DOUBLE_EQ(form.page.margins.left, 10);
    EXPECT_DOUBLE_EQ(form.page.margins.right, 15);
    EXPECT_DOUBLE_EQ(form.page.margins.top, 10);
    EXPECT_TRUE(form.page.pageHeaderOnFirstPage);
    EXPECT_TRUE(form.page.pageFooterOnLastPage);
    const Band& band = form.bands.at(0);
    EXPECT_DOUBLE_EQ(band.height, px(22));
    EXPECT_EQ(band.color, Color::silver());
    EXPECT_TRUE(band.frame.left && band.frame.right && !band.frame.top && !band.frame.bottom);

    const auto& a = std::get<Label>(band.components.at(0));
    EXPECT_EQ(a.box, (RectMm{px(10), pt(9), 20, 5}));
    EXPECT_EQ(a.font.family, "굴림체") << "from the page";
    EXPECT_DOUBLE_EQ(a.font.sizePt, 9) << "from the band";
    const auto& h = std::get<Label>(band.components.at(1));
    EXPECT_EQ(h.font.family, "바탕체");
    EXPECT_TRUE(h.font.bold);
    EXPECT_DOUBLE_EQ(h.font.sizePt, 12) << "the component's own font over its style";
    const auto& s = std::get<Shape>(band.components.at(2));
    EXPECT_EQ(s.brush, (Color{0x10, 0x20, 0x30}));
    EXPECT_EQ(s.pen.color, (Color{0, 0, 128}));
    EXPECT_DOUBLE_EQ(s.pen.width, px(2));
    const auto& l = std::get<Line>(band.components.at(3));
    EXPECT_DOUBLE_EQ(l.box.height, 0.5) << "a horizontal line is as high as its pen";
    EXPECT_EQ(std::get<Memo>(band.components.at(4)).lines, (std::vector<std::string>{"x", "y"}));
    EXPECT_TRUE(std::get<Memo>(band.components.at(4)).wordWrap) << "memos wrap unless told otherwise";
    const auto& p = std::get<SystemField>(band.components.at(5));
    EXPECT_EQ(p.kind, SystemKind::DateTime);
    EXPECT_FALSE(p.enabled);
}

TEST(FormLoader, FaultsNameTheirPlace)
{
    struct Case {
        const char* name;
        const char* json;
        const char* message;
    };
    const std::vector<Case> cases{
        {"not JSON", R"({"name": )", "inline: not a form file"},
        {"no name", R"({"bands": []})", "/: \"name\" is missing"},
        {"misspelt key", R"({"name": "f", "bands": [{"name": "d", "kind": "detail", "components": [
             {"type": "label", "name": "a", "captoin": "x"}]}]})",
         "/bands/0/components/0/captoin: unknown key"},
        {"unknown type", R"({"name": "f", "bands": [{"name": "d", "kind": "detail", "components": [{"type": "lable"}]}]})",
         "/bands/0/components/0/type: unknown component type \"lable\""},
        {"unknown band kind", R"({"name": "f", "bands": [{"name": "d", "kind": "details"}]})",
         "/bands/0/kind: unknown band kind"},
        {"bad unit", R"({"name": "f", "bands": [{"name": "d", "kind": "detail", "height": "3em"}]})",
         "/bands/0/height: unknown unit \"em\""},
        {"bad colour", R"({"name": "f", "bands": [{"name": "d", "kind": "detail", "color": "greyish"}]})",
         "/bands/0/color: \"greyish\" is not a colour"},
        {"name used twice", R"({"name": "f", "bands": [{"name": "d", "kind": "detail", "components": [
             {"type": "label", "name": "a"}, {"type": "label", "name": "a"}]}]})",
         "/bands/0/components/1: the name \"a\" is used twice"},
        {"band and component share a name", R"({"name": "f", "bands": [{"name": "d", "kind": "detail", "components": [
             {"type": "label", "name": "d"}]}]})",
         "the name \"d\" is used twice"},
        {"two detail bands", R"({"name": "f", "bands": [{"name": "a", "kind": "detail"}, {"name": "b", "kind": "detail"}]})",
         "more than one detail band"},
        {"group header for nothing", R"({"name": "f", "bands": [{"name": "g", "kind": "groupHeader", "for": "x"},
             {"name": "d", "kind": "detail"}]})",
         "group header \"g\" is for \"x\""},
        {"margins eat the page", R"({"name": "f", "page": {"margins": 150}})", "/page: the margins leave no room"},
        {"unknown style", R"({"name": "f", "bands": [{"name": "d", "kind": "detail", "components": [
             {"type": "label", "style": "nothing"}]}]})",
         "/bands/0/components/0/style: no style named \"nothing\""},
        {"box and left together", R"({"name": "f", "bands": [{"name": "d", "kind": "detail", "components": [
             {"type": "label", "box": [0, 0, 1, 1], "left": 3}]}]})",
         "give either \"box\" or left/top/width/height"},
        {"picture without file", R"({"name": "f", "furniture": [{"type": "picture", "name": "p"}]})",
         "/furniture/0: \"file\" is missing"},
        {"horizontal line growing", R"({"name": "f", "bands": [{"name": "d", "kind": "detail", "components": [
             {"type": "line", "box": [0, 0, 10, 1], "growToBottom": true}]}]})",
         "/bands/0/components/0/growToBottom: a horizontal line has no height to grow"},
        {"horizontal line following stretch", R"({"name": "f", "bands": [{"name": "d", "kind": "detail", "components": [
             {"type": "line", "box": [0, 0, 10, 1], "followStretch": true}]}]})",
         "/bands/0/components/0/followStretch: a horizontal line has no height to grow"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            parseForm(c.json, {}, {}, "inline");
            ADD_FAILURE() << "no error";
        } catch (const ReportError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(FormLoader, HostileFilesAreRefusedWithTheFileAndThePlaceNamed)
{
    // Each would otherwise recurse until the stack is gone or page on for ever.
    struct Case {
        const char* name;
        std::string json;
        std::string place;
        std::string message;
    };
    const std::string detail = R"(, "bands": [{"name": "d", "kind": "detail", )";
    const std::vector<Case> cases{
        {"a style naming itself", R"({"name": "f", "styles": {"a": {"style": "a", "size": 9}}})", "/styles/a/style",
         "style \"a\" refers back to itself"},
        {"two styles naming each other", R"({"name": "f", "styles": {"a": {"style": "b"}, "b": "a"}})", "/styles/",
         "refers back to itself"},
        {"a component's style in a cycle",
         R"({"name": "f", "styles": {"x": {"style": "y"}, "y": {"style": "x"}})" + detail +
             R"("components": [{"type": "label", "style": "x"}]}]})",
         "/styles/", "refers back to itself"},
        {"infinite width", R"({"name": "f")" + detail + R"("components": [{"type": "label", "box": [0, 0, "inf", 5]}]}]})",
         "/bands/0/components/0/box/2", "\"inf\" is not a length"},
        {"infinite height in mm", R"({"name": "f")" + detail + R"("height": "infmm"}]})", "/bands/0/height",
         "is not a length"},
        {"height not a number", R"({"name": "f")" + detail + R"("height": "nan"}]})", "/bands/0/height",
         "\"nan\" is not a length"},
        {"a band taller than any paper", R"({"name": "f")" + detail + R"("height": 1e9}]})", "/bands/0/height",
         "a length is a finite number of mm from -1000 to 1000"},
        {"an infinite margin", R"({"name": "f", "page": {"margins": "-infpt"}})", "/page/margins", "is not a length"},
        {"an endless font size", R"({"name": "f", "page": {"font": {"size": 1e300}}})", "/page/font/size",
         "a font size is above 0 and at most 1000"},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = dir.path() / "hostile.json";
        std::ofstream(file) << c.json;
        try {
            loadFormFile(file);
            ADD_FAILURE() << "no error";
        } catch (const ReportError& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.rfind(file.string() + ": " + c.place, 0), 0u) << what;
            EXPECT_NE(what.find(c.message), std::string::npos) << what;
        }
    }
}

TEST(FormLoader, LoadsByNameFromTheFirstDirectoryThatHasIt)
{
    test::TempDir first;
    test::TempDir second;
    test::TempDir pictures;
    std::ofstream(second.path() / "MDX100F1.json") << R"({"name": "from-second", "furniture": [
        {"type": "picture", "name": "logo", "file": "logo.jpg"},
        {"type": "picture", "name": "missing", "file": "none.jpg"}]})";
    std::ofstream(pictures.path() / "logo.jpg") << "x";
    const Form form = loadForm("MDX100F1", {first.path(), second.path()}, LoadOptions{{pictures.path()}});
    EXPECT_EQ(form.name, "from-second");
    EXPECT_EQ(form.source, second.path() / "MDX100F1.json");
    EXPECT_EQ(std::get<Picture>(form.furniture.at(0)).resolved, pictures.path() / "logo.jpg");
    EXPECT_TRUE(std::get<Picture>(form.furniture.at(1)).resolved.empty());

    try {
        loadForm("MDX999F1", {first.path(), second.path()});
        FAIL() << "no error";
    } catch (const ReportError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("MDX999F1"), std::string::npos) << what;
        EXPECT_NE(what.find(first.path().string()), std::string::npos) << what;
        EXPECT_NE(what.find(second.path().string()), std::string::npos) << what;
    }
}

TEST(FormLoader, TheSampleFormsLoad)
{
    for (const char* name : {"flowsheet", "operation", "transfusion"}) {
        SCOPED_TRACE(name);
        const Form form = test::testForm(name);
        EXPECT_FALSE(form.bands.empty());
        for (const Band& band : form.bands) {
            for (const Component& c : band.components) {
                if (const auto* p = std::get_if<Picture>(&c)) {
                    EXPECT_FALSE(p->resolved.empty()) << p->file;
                }
            }
        }
    }
}

} // namespace
} // namespace medrec::engine
