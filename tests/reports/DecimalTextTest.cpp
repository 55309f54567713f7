// Exact decimal sums and half-to-even rounding of the number texts services deliver.
#include "DecimalText.h"

#include <gtest/gtest.h>

using medrec::reports::Decimal;

namespace {

std::string sum(std::initializer_list<const char *> texts)
{
    Decimal total;
    for (const char *text : texts) {
        const auto value = Decimal::parse(text);
        if (!value)
            return "bad";
        const auto next = total.plus(*value);
        if (!next)
            return "overflow";
        total = *next;
    }
    return total.text();
}

TEST(DecimalText, ReadsPlainDecimalsAndRefusesTheRest)
{
    const struct
    {
        const char *text;
        const char *shortest; // nullptr: refused
    } cases[] = {
        {"0", "0"},
        {"1500", "1500"},
        {"12.50", "12.5"},
        {" 7 ", "7"},
        {"-0.0", "0"},
        {"+3", "3"},
        {"3.", "3"},
        {".25", "0.25"},
        {"0007", "7"},
        {"-12.340", "-12.34"},
        {"0.000000001", "0.000000001"},
        {"999999999999999999", "999999999999999999"},
        {"", nullptr},
        {" ", nullptr},
        {".", nullptr},
        {"-", nullptr},
        {"1e3", nullptr},
        {"1,000", nullptr},
        {"12a", nullptr},
        {"1.2.3", nullptr},
        {"--1", nullptr},
        {"0x10", nullptr},
        {"1 2", nullptr},
        {"0.0000000001", nullptr},
        {"1000000000000000000", nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const auto value = Decimal::parse(c.text);
        if (!c.shortest) {
            EXPECT_FALSE(value.has_value());
            continue;
        }
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->text(), c.shortest);
    }
}

TEST(DecimalText, SumsCarryNoBinaryNoise)
{
    EXPECT_EQ(sum({"0.1", "0.2"}), "0.3");
    EXPECT_EQ(sum({"1200", "110.4", "0"}), "1310.4");
    EXPECT_EQ(sum({"300", "250"}), "550");
    EXPECT_EQ(sum({"12.25", "0.25"}), "12.5");
    EXPECT_EQ(sum({"0.5", "-0.5"}), "0");
    EXPECT_EQ(sum({"-3", "1"}), "-2");
    EXPECT_EQ(sum({"33.3", "33.3", "33.4"}), "100");
    EXPECT_EQ(sum({"0.000000001", "999999999"}), "999999999.000000001");
    EXPECT_EQ(sum({"999999999999999999", "1"}), "overflow");
    EXPECT_EQ(sum({"abc"}), "bad");
}

TEST(DecimalText, RoundsHalfToEven)
{
    const struct
    {
        const char *text;
        int places;
        const char *rounded;
    } cases[] = {
        {"2.345", 2, "2.34"},   {"2.355", 2, "2.36"}, {"2.3451", 2, "2.35"}, {"-2.345", 2, "-2.34"},
        {"-2.355", 2, "-2.36"}, {"0.5", 0, "0"},      {"1.5", 0, "2"},       {"2.5", 0, "2"},
        {"-0.5", 0, "0"},       {"12.5", 0, "12"},    {"1.25", 1, "1.2"},    {"1.35", 1, "1.4"},
        {"7", 2, "7"},          {"0.125", 2, "0.12"}, {"0.135", 2, "0.14"},  {"99.995", 2, "100"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " to " + std::to_string(c.places));
        EXPECT_EQ(Decimal::parse(c.text)->rounded(c.places).text(), c.rounded);
    }
}

} // namespace
