// The small pure pieces: Code 39 symbols, clock and page-number texts, colours, face names.

#include "Code39.h"

#include "report_engine/ReportError.h"
#include "report_engine/Style.h"
#include "report_engine/SystemText.h"

#include <gtest/gtest.h>

#include <set>

namespace medrec::engine {
namespace {

TEST(Code39, EveryCharacterHasThreeWideElementsAndItsOwnPattern)
{
    const std::string set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
    std::set<std::vector<double>> patterns;
    for (char c : set) {
        SCOPED_TRACE(std::string(1, c));
        const Code39 code = encodeCode39(std::string(1, c), 1, 2);
        ASSERT_EQ(code.symbol, std::string("*") + c + "*");
        ASSERT_EQ(code.bars.size(), 29u); // three characters of nine and two gaps
        const std::vector<double> own(code.bars.begin() + 10, code.bars.begin() + 19);
        int wide = 0;
        for (double w : own)
            wide += w == 2;
        EXPECT_EQ(wide, 3);
        EXPECT_TRUE(patterns.insert(own).second);
        EXPECT_DOUBLE_EQ(code.width, 3 * (6 + 3 * 2) + 2);
    }
}

TEST(Code39, KnownSymbolAndTextCleanup)
{
    // '*' is narrow bar, wide space, narrow bar, narrow space, wide bar, narrow space, wide bar,
    // narrow space, narrow bar.
    const Code39 star = encodeCode39("", 1, 3);
    EXPECT_EQ(star.symbol, "**");
    EXPECT_EQ(std::vector<double>(star.bars.begin(), star.bars.begin() + 9),
              (std::vector<double>{1, 3, 1, 1, 3, 1, 3, 1, 1}));
    EXPECT_EQ(encodeCode39("abc", 1, 2).symbol, "*ABC*");
    EXPECT_EQ(encodeCode39("*00001234*", 1, 2).symbol, "*00001234*");
}

TEST(Code39, TextItCannotEncodeIsRefusedNotLeftOut)
{
    // Leaving a character out would print a barcode that reads as another number.
    struct Case {
        const char* text;
        const char* unencodable;
    };
    const Case cases[] = {{"ab#c", "#"},        {"환자 12", "환자"},      {"12*34", "*"},
                          {"0000_12_#_", "_#"}, {"*12\t*", "\t"},       {"00001234", ""},
                          {"*A-B.C $/+%*", ""}, {"", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(code39Unencodable(c.text), c.unencodable);
        if (*c.unencodable) {
            try {
                encodeCode39(c.text, 1, 2);
                ADD_FAILURE() << "no error";
            } catch (const ReportError& e) {
                EXPECT_NE(std::string(e.what()).find("Code 39 cannot encode"), std::string::npos) << e.what();
            }
        } else {
            EXPECT_NO_THROW(encodeCode39(c.text, 1, 2));
        }
    }
}

TEST(SystemText, ClockAndPageFormats)
{
    const DateTime t{2026, 3, 4, 7, 5, 9};
    struct Case {
        const char* format;
        const char* text;
    };
    for (const Case& c : std::vector<Case>{{"yyyy-MM-dd HH:mm:ss", "2026-03-04 07:05:09"},
                                           {"yy.M.d H시", "26.3.4 7시"},
                                           {"출력일시: yyyy/MM/dd", "출력일시: 2026/03/04"}}) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(formatDateTime(t, c.format), c.text);
    }
    EXPECT_EQ(formatPageNumber("{page}", 3, 9), "3");
    EXPECT_EQ(formatPageNumber("- {page} / {pages} -", 3, 9), "- 3 / 9 -");
}

TEST(Style, ColoursAsTheFormsWriteThem)
{
    struct Case {
        const char* text;
        std::optional<Color> color;
    };
    for (const Case& c : std::vector<Case>{{"#C0C0C0", Color::silver()},
                                           {"silver", Color::silver()},
                                           {"clSilver", Color::silver()},
                                           {"12632256", Color::silver()},
                                           {"15527148", Color{0xEC, 0xEC, 0xEC}},
                                           {"255", Color{255, 0, 0}},
                                           {"#12345", std::nullopt},
                                           {"16777216", std::nullopt},
                                           {"bluish", std::nullopt}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseColor(c.text), c.color);
    }
}

TEST(Style, BarcodeFaces)
{
    ASSERT_TRUE(barcodeFace("Code39(1:2)"));
    EXPECT_DOUBLE_EQ(barcodeFace("Code39(1:2)")->ratio, 2);
    EXPECT_DOUBLE_EQ(barcodeFace("3 of 9 Barcode")->ratio, 3);
    EXPECT_FALSE(barcodeFace("Arial"));
    EXPECT_FALSE(barcodeFace("굴림체"));
}

} // namespace
} // namespace medrec::engine
