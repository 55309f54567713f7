// Painted output: PDF files through MEDREC_PRINT_TO read back with poppler, PNG pages.

#include "ReportTestSupport.h"
#include "ScopedEnv.h"

#include "report_engine/Output.h"
#include "report_engine/Printing.h"

#include <gtest/gtest.h>

#include <QColor>

#include <cstdlib>
#include <regex>
#include <set>
#include <sstream>

namespace medrec::engine {
namespace {

const std::vector<std::string> kNotes{
    "환자 의식 명료하며 활력징후 안정적임.",
    "수술 부위 드레싱 시행함, 삼출물 소량.",
    "통증 호소하여 진통제 투여함 (BP 120/80mmHg).",
};

Document progressNote()
{
    Report report(test::testForm("flowsheet"));
    report.label("qrlb_PatNo").setCaption("00001234");
    report.label("qrlb_patname").setCaption("김세온");
    report.label("qrlb_Deptnm").setCaption("일반외과");
    std::size_t row = 0;
    report.setNeedData([&](Report& r) {
        if (row >= 60)
            return false;
        r.label("qrlb_Data1").setCaption("2026-12-0" + std::to_string(1 + row / 20));
        r.label("qrlb_Data2").setCaption("09:30");
        r.label("qrlb_Data4").setCaption(kNotes[row % kNotes.size()]);
        r.label("qrlb_Data3").setCaption("이의사");
        ++row;
        return true;
    });
    return report.run(test::measurer(), test::quietRun());
}

TEST(PdfOutput, PrintToDirectoryWritesSearchableKoreanText)
{
    test::TempDir dir;
    medrec::testing::ScopedEnv target("MEDREC_PRINT_TO", "pdf:" + (dir.path() / "out").string());
    ASSERT_TRUE(printerAvailable());
    const Document doc = progressNote();
    ASSERT_EQ(doc.pages.size(), 2u);

    const PrintResult result = printDocument(doc, {"MDPGNOTT", "00001234"});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.pages, 2);
    EXPECT_EQ(result.pdfFile.parent_path(), dir.path() / "out");
    EXPECT_TRUE(std::regex_match(result.pdfFile.filename().string(),
                                 std::regex(R"(\d{8}-\d{6}_MDPGNOTT_00001234(-\d+)?\.pdf)")))
        << result.pdfFile;

    const auto text = test::runCommand("pdftotext -enc UTF-8 '" + result.pdfFile.string() + "' -");
    ASSERT_EQ(text.status, 0);
    for (const std::string& expected :
         {std::string("김세온"), std::string("일반외과"), std::string("※ 전자인증된 서식입니다."), kNotes[0], kNotes[1],
          kNotes[2], std::string("세온병원"), std::string("KRV 82-MR-3-32")}) {
        SCOPED_TRACE(expected);
        EXPECT_NE(text.output.find(expected), std::string::npos);
    }
    const auto fonts = test::runCommand("pdffonts '" + result.pdfFile.string() + "'");
    ASSERT_EQ(fonts.status, 0);
    // After the two heading lines: one row per font; its "emb" and "uni" columns say yes (the
    // glyphs are in the file and map back to Unicode).
    std::istringstream rows(fonts.output);
    std::string line;
    int fontRows = 0;
    std::getline(rows, line);
    std::getline(rows, line);
    const std::regex flags(R"(\s(yes|no)\s+(yes|no)\s+(yes|no)\s+\d+\s+\d+\s*$)");
    while (std::getline(rows, line)) {
        ++fontRows;
        std::smatch m;
        ASSERT_TRUE(std::regex_search(line, m, flags)) << line;
        EXPECT_EQ(m[1], "yes") << "embedded: " << line;
        EXPECT_EQ(m[3], "yes") << "maps to Unicode: " << line;
    }
    EXPECT_GE(fontRows, 2);
}

TEST(PdfOutput, PrintsOfTheSameSecondGetTheirOwnFiles)
{
    test::TempDir dir;
    std::set<std::string> names;
    for (int i = 0; i < 3; ++i) {
        std::string error;
        const auto file = reservePdfFile(dir.path(), "MDOPRECT", "00001234", error);
        ASSERT_FALSE(file.empty()) << error;
        EXPECT_TRUE(std::filesystem::exists(file));
        names.insert(file.filename().string());
    }
    EXPECT_EQ(names.size(), 3u);
    EXPECT_EQ(pdfFileName("20261209-143005", "MDOPRECT", "00001234"), "20261209-143005_MDOPRECT_00001234.pdf");
    EXPECT_EQ(pdfFileName("20261209-143005", "MD/../X", "12 34  "), "20261209-143005_MD____X_12_34.pdf");
    EXPECT_EQ(pdfFileName("20261209-143005", "", ""), "20261209-143005_REPORT_NOPATNO.pdf");
}

TEST(PdfOutput, LandscapePagesAreLandscapeInThePdf)
{
    Report report(test::testForm("transfusion"));
    const Document doc = report.run(test::measurer(), test::quietRun());
    test::TempDir dir;
    const auto file = dir.path() / "t.pdf";
    ASSERT_EQ(writePdf(doc, file), "");
    const auto info = test::runCommand("pdfinfo '" + file.string() + "'");
    ASSERT_EQ(info.status, 0);
    EXPECT_TRUE(std::regex_search(info.output, std::regex(R"(Page size: +84[12](\.\d+)? x 595(\.\d+)? pts \(A4\))")))
        << info.output;
    EXPECT_NE(info.output.find("Title:           수혈기록지"), std::string::npos) << info.output;
}

TEST(PrintTarget, SettingsAndTheirMeaning)
{
    EXPECT_EQ(parsePrintTarget(nullptr).kind, PrintTarget::Kind::DefaultPrinter);
    EXPECT_EQ(parsePrintTarget("").kind, PrintTarget::Kind::DefaultPrinter);
    const PrintTarget pdf = parsePrintTarget("pdf:/tmp/x y");
    EXPECT_EQ(pdf.kind, PrintTarget::Kind::PdfDirectory);
    EXPECT_EQ(pdf.directory, "/tmp/x y");
    for (const char* bad : {"pdf:", "lpt1", "PDF:/tmp", "/tmp/out"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(parsePrintTarget(bad).kind, PrintTarget::Kind::Invalid);
    }
    medrec::testing::ScopedEnv target("MEDREC_PRINT_TO", "lpt1");
    EXPECT_FALSE(printerAvailable()) << "a misspelt setting is no printer";
    const PrintResult r = printDocument(progressNote(), {"MDPGNOTT", "1"});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("MEDREC_PRINT_TO"), std::string::npos) << r.error;
}

TEST(PngOutput, PagesPaintWhatTheLayoutSays)
{
    Report report(test::inlineForm(R"json({"name": "png", "page": {"margins": 10},
        "bands": [{"name": "d", "kind": "detail", "height": 60, "components": [
          {"type": "shape", "name": "box", "box": [10, 10, 20, 20], "brush": "black"},
          {"type": "shape", "name": "grey", "box": [40, 10, 20, 20], "brush": 12632256, "pen": {"color": "none"}},
          {"type": "label", "name": "text", "box": [70, 10, 80, 10], "caption": "세온병원 수술기록", "font": {"size": 20}},
          {"type": "label", "name": "code", "box": [10, 40, 80, 10], "caption": "00001234", "font": {"family": "Code39(1:2)", "size": 24}}
        ]}]})json"));
    const Document doc = report.run(test::measurer(), test::quietRun());
    const QImage image = renderPage(doc.pages.at(0), 100);
    ASSERT_EQ(image.width(), 827);
    ASSERT_EQ(image.height(), 1169);
    auto pixel = [&](double xmm, double ymm) { return QColor(image.pixel(int(xmm / 25.4 * 100), int(ymm / 25.4 * 100))); };
    EXPECT_EQ(pixel(30, 30), QColor(Qt::black)) << "inside the black square";
    EXPECT_EQ(pixel(60, 30), QColor(192, 192, 192)) << "inside the silver square";
    EXPECT_EQ(pixel(45, 30), QColor(Qt::white)) << "between them";
    int dark = 0;
    for (int y = int(20 / 25.4 * 100); y < int(30 / 25.4 * 100); ++y)
        for (int x = int(80 / 25.4 * 100); x < int(160 / 25.4 * 100); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 200) << "the caption's glyphs";
    const auto bars = test::elementsOf(doc.pages[0], "code");
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0]->kind, ElementKind::Barcode);
    EXPECT_EQ(bars[0]->text, "*00001234*");
    // The start character's first wide bar (its fifth element).
    const auto& w = bars[0]->bars;
    const double wideBar = bars[0]->rect.left + w[0] + w[1] + w[2] + w[3] + w[4] / 2;
    EXPECT_EQ(pixel(wideBar, 55), QColor(Qt::black));
    EXPECT_EQ(pixel(bars[0]->rect.left + w[0] + w[1] / 2, 55), QColor(Qt::white)) << "the wide space before it";

    test::TempDir dir;
    std::vector<std::filesystem::path> written;
    ASSERT_EQ(writePngPages(doc, dir.path() / "pages", 72, &written), "");
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].filename(), "page-001.png");
    EXPECT_TRUE(std::filesystem::exists(written[0]));
}

} // namespace
} // namespace medrec::engine
