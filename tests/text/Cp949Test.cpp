#include "Cp949.h"

#include <gtest/gtest.h>

using namespace medrec::text;

TEST(Cp949, KoreanRoundTripsBothWays)
{
    const std::string utf8 = "홍길동 서울특별시 강남구 123-4";
    const std::string cp = toCp949(utf8);
    EXPECT_EQ(cp.size(), 8u + 2u * 11u); // 8 ASCII bytes, 11 syllables
    EXPECT_TRUE(isValidCp949(cp));
    EXPECT_EQ(fromCp949(cp), utf8);
    EXPECT_EQ(toCp949(fromCp949(cp)), cp);
}

TEST(Cp949, InvalidBytesDecodeToReplacement)
{
    EXPECT_EQ(fromCp949("A\xFF" "B"), "A\xEF\xBF\xBD" "B");
    EXPECT_EQ(fromCp949("\xB0"), "\xEF\xBF\xBD"); // lead byte cut off at the end
    EXPECT_FALSE(isValidCp949("\xB0"));
}

TEST(Cp949, UnrepresentableCharactersBecomeQuestionMarks)
{
    EXPECT_FALSE(isCp949Representable("😀"));
    EXPECT_EQ(toCp949("a😀b"), "a?b");
    EXPECT_EQ(toCp949("a\xC3"), "a?"); // broken UTF-8
}

TEST(Cp949, WidthsCountDoubleByteCharacters)
{
    EXPECT_EQ(cp949Width(""), 0u);
    EXPECT_EQ(cp949Width("abc"), 3u);
    EXPECT_EQ(cp949Width("가나"), 4u);
    EXPECT_EQ(cp949Width("가a"), 3u);
}

TEST(Cp949, SlicingNeverSplitsACharacter)
{
    EXPECT_EQ(cp949Left("가나다", 3), "가");
    EXPECT_EQ(cp949Left("가나다", 4), "가나");
    EXPECT_EQ(cp949Slice("a가나", 0, 2), "a");
    EXPECT_EQ(cp949Slice("a가나", 1, 4), "가나");
    EXPECT_EQ(cp949Slice("a가나", 2, 4), "나"); // 가 straddles the start
    EXPECT_EQ(cp949Left("abc", 10), "abc");
}
