#include "NumberFormat.h"
#include "TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace medrec::common;

namespace {

struct Case
{
    std::string input;
    std::string expected;
};

} // namespace

TEST(TextHelpers, PhoneNumbers)
{
    const std::vector<Case> cases{
        {"02-123-4567", "02-123-4567"},     {"0212345678", "02-1234-5678"},  {"021234567", "02-123-4567"},
        {"1234", "1234"},                   {"12-34", "12-34"},              {"1234567", "123-4567"},
        {"123-4567", "123-4567"},           {"01012345678", "010-1234-5678"}, {"(031) 123-4567", "031-123-4567"},
        {"0311234567", "031-123-4567"},     {"", ""},                        {"없음", "없음"},
        {"02 1234", "02-1234"}, // too short for the Seoul form
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(FmtPhoneNo(c.input), c.expected);
    }
}

TEST(TextHelpers, JoinLines)
{
    const std::vector<Case> cases{
        {"a  \r\nb", "a b"},         {"a\n\n\nb", "a b"},  {"가나\r\n다", "가나 다"},
        {"no breaks", "no breaks"}, {"a\r\n", "a "},      {"\r\n", " "},
        {"x \t\ny", "x y"},         {"", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(JoinLines(c.input), c.expected);
    }
}

TEST(TextHelpers, CharCountCountsKoreanOnce)
{
    EXPECT_EQ(CharCount("홍길동"), 3u);
    EXPECT_EQ(CharCount("홍a"), 2u);
    EXPECT_EQ(CharCount("김"), 1u); // a name of one syllable is short
    EXPECT_EQ(CharCount(""), 0u);
    EXPECT_EQ(CharCount("\xFF\xFE"), 2u);
    EXPECT_EQ(CharCount("\xEA\xB0"), 2u); // a syllable cut short
}

TEST(TextHelpers, ReplaceAll)
{
    EXPECT_EQ(ReplaceAll("A&B&&C", "&", "＆"), "A＆B＆＆C");
    EXPECT_EQ(ReplaceAll("none", "&", "＆"), "none");
    // A replacement holding the search text must not loop.
    EXPECT_EQ(ReplaceAll("a&b", "&", "&&"), "a&&b");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("가나가", "가", "다"), "다나다");
}

TEST(TextHelpers, WholeNumbersAreASignAndDigitsOnly)
{
    const std::vector<std::pair<std::string, std::optional<int>>> cases{
        {"7", 7},          {"007", 7},         {"-12", -12},      {"+3", 3},         {"0", 0},
        {"", std::nullopt}, {" 7", std::nullopt}, {"7 ", std::nullopt}, {"+", std::nullopt}, {"+-1", std::nullopt},
        {"++1", std::nullopt}, {"1.0", std::nullopt}, {"2a", std::nullopt}, {"99999999999", std::nullopt},
    };
    for (const auto &[text, number] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(WholeNumber(text), number);
    }
}

TEST(NumberFormat, GroupedDisplay)
{
    const std::vector<Case> cases{
        {"1234567.5", "1,234,567.5"}, {"0", "0"},          {"-1234", "-1,234"},   {"1234.56789", "1,234.568"},
        {"999.9999", "1,000"},       {"-0.0001", "0"},    {"1e3", "1,000"},      {" 42 ", "42"},
        {"100", "100"},              {"1000", "1,000"},   {".5", "0.5"},         {"+7", "7"},
        {"abc", "abc"},              {"12,345", "12,345"}, {"1.2.3", "1.2.3"},   {"inf", "inf"},
        {"nan", "nan"},              {"", ""},            {"-", "-"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(NumberFormatDisplay(c.input), c.expected);
    }
}
