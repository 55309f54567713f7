// The logo: decoded with libjpeg; a damaged file is reported once and the pages print without it.

#include "ReportTestSupport.h"

#include "report_engine/RasterImage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace medrec::engine {
namespace {

std::vector<std::uint8_t> logoBytes()
{
    std::ifstream in(test::logoDir() / "seon-logo.jpg", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The logo with its frame header (SOF) claiming another size; the data stays the logo's.
std::vector<std::uint8_t> logoClaiming(unsigned width, unsigned height)
{
    std::vector<std::uint8_t> bytes = logoBytes();
    for (std::size_t i = 2; i + 9 < bytes.size(); ++i) {
        if (bytes[i] != 0xFF || (bytes[i + 1] != 0xC0 && bytes[i + 1] != 0xC2))
            continue;
        // FF Cn, length (2), precision (1), height (2), width (2)
        bytes[i + 5] = std::uint8_t(height >> 8);
        bytes[i + 6] = std::uint8_t(height);
        bytes[i + 7] = std::uint8_t(width >> 8);
        bytes[i + 8] = std::uint8_t(width);
        return bytes;
    }
    ADD_FAILURE() << "the logo has no frame header";
    return bytes;
}

TEST(Jpeg, DecodesTheSiteLogo)
{
    const JpegResult r = decodeJpegFile(test::logoDir() / "seon-logo.jpg");
    ASSERT_TRUE(r.image) << r.error;
    EXPECT_EQ(r.image->width, 520);
    EXPECT_EQ(r.image->height, 160);
    EXPECT_EQ(r.image->channels, 3);
    EXPECT_DOUBLE_EQ(r.image->dpiX, 150);
    ASSERT_EQ(r.image->pixels.size(), 520u * 160u * 3u);
    // The corner is white, the emblem's centre (x 80, y 40: the upper arm of the cross) white on
    // blue, the ring blue.
    auto at = [&](int x, int y, int c) { return int(r.image->pixels[std::size_t((y * 520 + x) * 3 + c)]); };
    EXPECT_GT(at(2, 2, 0), 240);
    EXPECT_LT(at(80, 20, 0), 80);
    EXPECT_GT(at(80, 20, 2), 100);
}

TEST(Jpeg, DamagedFilesFailWithAReason)
{
    const std::vector<std::uint8_t> bytes = logoBytes();
    ASSERT_GT(bytes.size(), 1000u);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
    };
    std::vector<std::uint8_t> corrupt = bytes;
    for (std::size_t i = corrupt.size() / 3; i < corrupt.size() / 3 + 400; ++i)
        corrupt[i] = 0xFF;
    const std::vector<Case> cases{
        {"empty", {}},
        {"not a JPEG", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}},
        {"cut short", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(bytes.size() / 2))},
        {"header only", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 200)},
        {"scrambled data", corrupt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const JpegResult r = decodeJpeg(c.data);
        EXPECT_FALSE(r.image);
        EXPECT_FALSE(r.error.empty());
    }
}

TEST(Jpeg, ADamagedLogoIsReportedOnceAndThePagesPrintWithoutIt)
{
    test::TempDir dir;
    const std::vector<std::uint8_t> bytes = logoBytes();
    std::ofstream(dir.path() / "seon-logo.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size() / 2));
    Report report(loadForm("flowsheet", {test::formsDir()}, LoadOptions{{dir.path()}}));
    ASSERT_EQ(report.picture("QRImage1").resolved, dir.path() / "seon-logo.jpg");
    int n = 0;
    report.setNeedData([&](Report& r) {
        r.label("qrlb_Data1").setCaption(std::to_string(n));
        return n++ < 100;
    });
    std::vector<std::string> messages;
    const Document doc = report.run(test::measurer(), test::quietRun(&messages));
    ASSERT_GT(doc.pages.size(), 2u);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("seon-logo.jpg"), std::string::npos) << messages[0];
    EXPECT_EQ(test::countOf(doc, "QRImage1"), 0);
    for (const Page& page : doc.pages)
        EXPECT_EQ(test::elementsOf(page, "qrlb_Title").size(), 1u) << "the rest of the header prints";
}

TEST(Jpeg, AHeaderClaimingAHugeSizeIsRefusedBeforeDecoding)
{
    // 60,000 x 60,000 pixels would be 10.8 GB of RGB; the limit stops it at the header.
    const JpegResult huge = decodeJpeg(logoClaiming(60000, 60000));
    EXPECT_FALSE(huge.image);
    EXPECT_NE(huge.error.find("claims 60000 x 60000 pixels"), std::string::npos) << huge.error;

    test::TempDir dir;
    const std::vector<std::uint8_t> bytes = logoClaiming(60000, 60000);
    std::ofstream(dir.path() / "seon-logo.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    Report report(loadForm("flowsheet", {test::formsDir()}, LoadOptions{{dir.path()}}));
    int n = 0;
    report.setNeedData([&](Report&) { return n++ < 100; });
    std::vector<std::string> messages;
    const Document doc = report.run(test::measurer(), test::quietRun(&messages));
    ASSERT_GT(doc.pages.size(), 2u);
    ASSERT_EQ(messages.size(), 1u) << "reported once for all the pages";
    EXPECT_NE(messages[0].find("claims 60000 x 60000 pixels"), std::string::npos) << messages[0];
    EXPECT_EQ(test::countOf(doc, "QRImage1"), 0);
    for (const Page& page : doc.pages)
        EXPECT_EQ(test::elementsOf(page, "qrlb_Title").size(), 1u) << "the rest of the header prints";
}

TEST(Jpeg, AGoodLogoPrintsOnEveryPageFromOneDecode)
{
    Report report(test::testForm("flowsheet"));
    int n = 0;
    report.setNeedData([&](Report&) { return n++ < 100; });
    std::vector<std::string> messages;
    const Document doc = report.run(test::measurer(), test::quietRun(&messages));
    EXPECT_TRUE(messages.empty());
    const RasterImage* first = nullptr;
    for (const Page& page : doc.pages) {
        const auto logo = test::elementsOf(page, "QRImage1");
        ASSERT_EQ(logo.size(), 1u);
        ASSERT_TRUE(logo[0]->image);
        if (!first)
            first = logo[0]->image.get();
        EXPECT_EQ(logo[0]->image.get(), first);
        EXPECT_EQ(logo[0]->rect, (RectMm{10 + 1, 10 + 19, 39, 12})) << "stretched into its box";
    }
}

} // namespace
} // namespace medrec::engine
