// Exact decimal sums, differences, products and quotients, and half-to-even rounding, of the
// number texts services deliver.
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

Decimal d(const char *text) { return *Decimal::parse(text); }

std::string shown(const std::optional<Decimal> &value) { return value ? value->text() : "none"; }

TEST(DecimalText, DifferencesAndProductsAreExact)
{
    EXPECT_EQ(shown(d("52.4").minus(d("64.5"))), "-12.1");
    EXPECT_EQ(shown(d("0.3").minus(d("0.1"))), "0.2");
    EXPECT_EQ(shown(d("-12.1").times(d("0.25"))), "-3.025");
    EXPECT_EQ(shown(d("1.1").times(d("1.1"))), "1.21");
    EXPECT_EQ(shown(d("30").times(d("61.475"))), "1844.25");
    EXPECT_EQ(shown(d("0.5").times(d("0"))), "0");
    // Trailing zeros of a product do not count against the places held.
    EXPECT_EQ(shown(d("0.000050000").times(d("0.00020000"))), "0.00000001");
    // A product that needs more places or digits than the type holds is refused.
    EXPECT_EQ(shown(d("0.00001").times(d("0.000001"))), "none");
    EXPECT_EQ(shown(d("999999999999").times(d("10000000"))), "none");
    EXPECT_EQ(shown(d("-999999999999999999").minus(d("1"))), "none");
}

TEST(DecimalText, QuotientsRoundHalfToEven)
{
    const struct
    {
        const char *dividend, *divisor;
        int places;
        const char *quotient;
    } cases[] = {
        {"100", "8", 0, "12"},      {"300", "8", 0, "38"},     {"97500", "1844.25", 0, "53"},
        {"1", "3", 2, "0.33"},      {"2", "3", 2, "0.67"},     {"-1", "8", 2, "-0.12"},
        {"1", "-8", 2, "-0.12"},    {"-3", "-8", 2, "0.38"},   {"45045", "1000", 2, "45.04"},
        {"0.01", "0.0001", 0, "100"}, {"5", "2", 0, "2"},      {"7", "2", 0, "4"},
        {"0", "7", 0, "0"},         {"999999999999999999", "0.1", 0, "none"}, {"1", "0", 0, "none"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.dividend) + " / " + c.divisor);
        EXPECT_EQ(shown(d(c.dividend).dividedBy(d(c.divisor), c.places)), c.quotient);
    }
}

TEST(DecimalText, ComparesByValue)
{
    EXPECT_TRUE(d("85") == d("85.00"));
    EXPECT_TRUE(d("84.99") < d("85"));
    EXPECT_TRUE(d("-1") < d("0.5"));
    EXPECT_TRUE(d("3.2") > d("3.19999"));
    EXPECT_TRUE(d("2.8") >= d("2.80"));
    EXPECT_FALSE(d("0") < d("-0.0"));
    EXPECT_TRUE(d("0.0").isZero());
}

} // namespace
