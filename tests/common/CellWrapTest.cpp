#include "CellWrap.h"
#include "Cp949.h"

#include <gtest/gtest.h>

#include <string>

using namespace medrec::common;
using medrec::text::cp949Width;

namespace {

// A fixed-pitch face: 6 pixels per CP949 byte, as the grid face draws Latin and Korean.
int fixedPitch(std::string_view text) { return 6 * static_cast<int>(cp949Width(text)); }

std::string joined(const std::vector<std::string> &lines)
{
    std::string out;
    for (const auto &line : lines)
        out += line;
    return out;
}

std::string repeat(const std::string &piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

} // namespace

TEST(CellWrap, KoreanTextNeverSplitsASyllable)
{
    const std::string text = repeat("가나다라마바사아자차", 4); // 40 syllables, 80 bytes
    for (int cellWidth : {20, 31, 37, 50, 64, 100}) {
        SCOPED_TRACE(cellWidth);
        const auto lines = WrapToWidth(text, cellWidth, fixedPitch);
        EXPECT_EQ(joined(lines), text);
        ASSERT_GT(lines.size(), 1u);
        for (const auto &line : lines) {
            SCOPED_TRACE(line);
            EXPECT_EQ(cp949Width(line) % 2, 0u); // whole syllables only
            EXPECT_TRUE(medrec::text::isValidCp949(medrec::text::toCp949(line)));
            EXPECT_TRUE(TextFits(fixedPitch(line), cellWidth) || cp949Width(line) == 2);
        }
        // Each line but the last is the longest that fits: one more syllable would not.
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            EXPECT_FALSE(TextFits(fixedPitch(lines[i]) + 12, cellWidth)) << i;
    }
}

TEST(CellWrap, MixedTextBreaksAtByteWidths)
{
    // 37 pixels take 6 bytes: "ab가" + "c" would need 5 bytes then 나 does not fit.
    const auto lines = WrapToWidth("ab가c나다", 37, fixedPitch);
    EXPECT_EQ(lines, (std::vector<std::string>{"ab가c", "나다"}));
    // A line that would end on the first byte of 나 is one byte shorter.
    EXPECT_EQ(WrapToWidth("abcde나", 37, fixedPitch), (std::vector<std::string>{"abcde", "나"}));
}

TEST(CellWrap, EdgeCases)
{
    EXPECT_TRUE(WrapToWidth("", 50, fixedPitch).empty());
    EXPECT_EQ(WrapToWidth("abc", 50, fixedPitch), (std::vector<std::string>{"abc"}));
    // Narrower than one syllable: one syllable a line, no endless loop.
    EXPECT_EQ(WrapToWidth("가나", 5, fixedPitch), (std::vector<std::string>{"가", "나"}));
    // Bytes that are not UTF-8 still come out whole.
    EXPECT_EQ(joined(WrapToWidth("a\xFF" "b\xC3", 10, fixedPitch)), "a\xFF" "b\xC3");
}
