#include "Cp949.h"

#include <gtest/gtest.h>

#include <latch>
#include <string>
#include <thread>
#include <vector>

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

TEST(Cp949, MalformedUtf8BecomesQuestionMarks)
{
    // A byte that starts no sequence is one '?'; a whole sequence that is no character
    // (overlong, a surrogate, past U+10FFFF) is one '?' too, and slices keep it whole.
    struct Case
    {
        const char *name;
        std::string utf8;
        std::string cp949;
        std::size_t width;
    };
    const Case cases[] = {
        {"stray continuation bytes", "a\x80\xBF" "b", "a??b", 4},
        {"truncated at the end", "a\xEA\xB0", "a??", 3},
        {"truncated before ASCII", "\xEA\xB0" "a", "??a", 3},
        {"bytes that start nothing", "\xF8\x88\x80\x80\x80\xFF", "??????", 6},
        {"overlong slash", "\xC0\xAF" "a", "?a", 2},
        {"overlong three bytes", "\xE0\x80\xAF", "?", 1},
        {"overlong four bytes", "\xF0\x8A\xB0\x80", "?", 1},
        {"surrogate", "\xED\xA0\x80" "a", "?a", 2},
        {"past U+10FFFF", "\xF4\x90\x80\x80", "?", 1},
        {"beyond the BMP", "\xF0\x9F\x98\x80", "?", 1},
        {"no CP949 form", "\xE2\x82\xBF", "?", 1}, // U+20BF
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(toCp949(c.utf8), c.cp949);
        EXPECT_EQ(cp949Width(c.utf8), c.width);
        EXPECT_FALSE(isCp949Representable(c.utf8));
        EXPECT_EQ(cp949Slice(c.utf8, 0, c.width), c.utf8);
    }
    // A view that ends inside a character does not read past its end.
    EXPECT_EQ(toCp949(std::string_view("\xEA\xB0\x80", 2)), "??");
    EXPECT_EQ(cp949Slice("\xEA\xB0\x80\xED\xA0\x80\xEB\x82\x98", 2, 1), "\xED\xA0\x80");
    EXPECT_EQ(cp949Slice("\xEA\xB0\x80\xED\xA0\x80\xEB\x82\x98", 2, 2), "\xED\xA0\x80");
}

TEST(Cp949, ConvertsOnSeveralThreadsAtOnce)
{
    // Run alone (as ctest runs it), this is also the process's first conversion.
    const std::string utf8 = "환자 홍길동 (00001234) 서울특별시 강남구 - 고혈압, 경과 관찰 😀";
    constexpr int kThreads = 4;
    std::vector<std::string> encoded(kThreads), decoded(kThreads), sliced(kThreads);
    std::vector<std::size_t> widths(kThreads);
    std::latch start(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            for (int i = 0; i < 200; ++i) {
                encoded[t] = toCp949(utf8);
                decoded[t] = fromCp949(encoded[t]);
                widths[t] = cp949Width(utf8);
                sliced[t] = cp949Slice(utf8, 5, 6);
            }
        });
    }
    for (auto &th : threads)
        th.join();
    std::string expected = utf8;
    expected.replace(expected.size() - 4, 4, "?");
    for (int t = 0; t < kThreads; ++t) {
        SCOPED_TRACE(t);
        EXPECT_EQ(decoded[t], expected);
        EXPECT_EQ(widths[t], encoded[t].size());
        EXPECT_EQ(sliced[t], "홍길동");
    }
}
