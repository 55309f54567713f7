// Line breaking: the rules with a fixed-pitch fake, then the real face of the note column.

#include "ReportTestSupport.h"
#include "TextWrap.h"

#include <gtest/gtest.h>

namespace medrec::engine {
namespace {

// One unit per code point.
double codePoints(std::string_view s)
{
    double n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

TEST(TextWrap, BreaksAtTheLastBlankThatFitsAndSplitsLongWords)
{
    struct Case {
        const char* name;
        const char* text;
        double width;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases{
        {"fits whole", "abc def", 10, {"abc def"}},
        {"last blank that fits", "aaa bbb ccc", 7, {"aaa bbb", "ccc"}},
        {"blank right at the width", "aaaa bbbb", 4, {"aaaa", "bbbb"}},
        {"word longer than the line", "abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"long word after a short one", "ab abcdefgh", 4, {"ab", "abcd", "efgh"}},
        {"blanks at a break are dropped", "aa   bb", 3, {"aa", "bb"}},
        {"leading blanks are kept", "  ab", 10, {"  ab"}},
        {"paragraphs and empty lines", "a\r\n\r\nb", 10, {"a", "", "b"}},
        {"LF and CR alone", "a\nb\rc", 10, {"a", "b", "c"}},
        {"Korean by characters, not bytes", "가나다 라마", 3, {"가나다", "라마"}},
        {"Korean word longer than the line", "가나다라마바", 4, {"가나다라", "마바"}},
        {"a character wider than the line", "ab", 0.5, {"a", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(wrapText(c.text, c.width, codePoints), c.lines);
    }
}

TEST(TextWrap, SplitLinesKeepsTheListOfStringsSemantics)
{
    EXPECT_EQ(splitLines(""), std::vector<std::string>{});
    EXPECT_EQ(splitLines("a\r\n"), std::vector<std::string>{"a"});
    EXPECT_EQ(splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(splitLines("\r\nb"), (std::vector<std::string>{"", "b"}));
}

TEST(TextWrap, RealFaceLinesFitTheColumnAndAreFilledGreedily)
{
    // The note column of the progress note: 512 pixels at 96 dpi, GulimChe 9 pt.
    FontSpec font;
    font.family = "굴림체";
    font.sizePt = 9;
    const double width = px(512);
    const auto& m = test::measurer();
    auto widthOf = [&](std::string_view s) { return m.advance(font, s); };
    const std::string text =
        "환자 의식 명료하며 활력징후 안정적임. 수술 부위 드레싱 시행하였고 삼출물 소량 관찰됨. "
        "통증 호소하여 주치의에게 보고 후 진통제 투여함. Vital sign: BP 120/80mmHg, PR 78회/분, "
        "RR 20회/분, BT 36.8℃. 보행 격려하고 낙상 주의 교육함. 식이는 연식으로 진행하며 오심 구토 없음.";
    const auto lines = wrapText(text, width, widthOf);
    ASSERT_GE(lines.size(), 2u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        EXPECT_LE(widthOf(lines[i]), width + 1e-6);
        if (i + 1 < lines.size()) {
            // The next line's first word would not have fitted after a blank.
            const std::string next = lines[i + 1].substr(0, lines[i + 1].find(' '));
            EXPECT_GT(widthOf(lines[i] + " " + next), width);
        }
    }
    // Fixed pitch: a Hangul syllable is wider than a Latin letter, as on the site's face.
    EXPECT_GT(m.advance(font, "가"), 1.5 * m.advance(font, "a"));
}

} // namespace
} // namespace medrec::engine
