// Which faces stand in for the forms' fonts, and the fonts a program ships with.

#include "report_engine/FontFaces.h"

#include "Basics.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace medrec::engine;

namespace {

TEST(FontFaces, KoreanFacesFallBackToNotoWhereTheWindowsFacesAreMissing)
{
    // No Windows face is installed here: the Noto faces come first, with their compact lines.
    ASSERT_FALSE(QFontDatabase::hasFamily(QStringLiteral("GulimChe")));
    EXPECT_EQ(substituteFamilies("굴림체"), QStringList{QStringLiteral("Noto Sans Mono CJK KR")});
    EXPECT_EQ(substituteFamilies("BatangChe").back(), QStringLiteral("Noto Serif CJK KR"));
    EXPECT_EQ(substituteFamilies("굴림").back(), QStringLiteral("Noto Sans CJK KR"));
    EXPECT_TRUE(usesCompactLineMetrics("바탕"));
}

TEST(FontFaces, BundledFontFilesAreTakenAndOtherFilesLeft)
{
    medrec::testing::TempDir dir;
    const fs::path source = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    ASSERT_TRUE(fs::exists(source)) << "fonts-dejavu-core";
    fs::copy_file(source, fs::path(dir.path()) / "Bundled.TTF");
    std::ofstream(fs::path(dir.path()) / "README.txt") << "not a font\n";

    EXPECT_EQ(addBundledFonts(dir.path()), 1);
    EXPECT_EQ(addBundledFonts(fs::path(dir.path()) / "missing"), 0);
    EXPECT_EQ(addBundledFonts({}), 0);
}

} // namespace
