// The pagination maths: where a band may be cut, and how much of a page is left.

#include "Pagination.h"

#include <gtest/gtest.h>

namespace medrec::engine {
namespace {

TEST(FindCut, NeverCutsAUnitInTwo)
{
    struct Case {
        const char* name;
        std::vector<Unit> units;
        double from;
        double limit;
        double expected;
    };
    const std::vector<Case> cases{
        {"nothing to keep together", {}, 0, 10, 10},
        {"limit inside the third line", {{0, 4}, {4, 8}, {8, 12}}, 0, 10, 8},
        {"limit exactly on a line boundary", {{0, 4}, {4, 8}, {8, 12}}, 0, 8, 8},
        {"one unit taller than the room", {{0, 20}}, 0, 10, 0},
        {"overlapping units push the cut up in turn", {{0, 5}, {3, 9}}, 0, 8, 0},
        {"a later piece of the band", {{10, 14}, {14, 18}, {18, 22}}, 10, 17, 14},
        {"nothing fits in a later piece", {{10, 14}}, 10, 12, 10},
        {"a rule at the cut does not block it", {{0, 4}, {4, 4}, {4, 8}}, 0, 4, 4},
        {"a unit beside the lines", {{0, 4}, {4, 8}, {8, 12}, {2, 9}}, 0, 10, 0},
        {"units in any order", {{8, 12}, {0, 4}, {4, 8}}, 0, 11, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(findCut(c.units, c.from, c.limit), c.expected);
    }
}

TEST(FirstCut, TheSmallestFirstPieceThatStandsAlone)
{
    struct Case {
        const char* name;
        std::vector<Unit> units;
        double end;
        double expected;
    };
    const std::vector<Case> cases{
        {"no units: the whole band", {}, 20, 20},
        {"below the first line", {{2, 6}, {6, 10}, {10, 14}}, 16, 6},
        {"a box beside the first lines", {{2, 6}, {6, 10}, {0, 8}}, 12, 10},
        {"one unit through the band", {{0, 20}}, 20, 20},
        {"units in any order", {{6, 10}, {2, 6}}, 12, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(firstCut(c.units, 0, c.end), c.expected);
    }
}

TEST(PageFlow, AccumulatedBandHeightsStillFitExactly)
{
    // 5.82 mm added up does not give exact decimal sums; a page that holds 40 records by the
    // numbers must hold all 40.
    PageFlow flow(10, 10 + 40 * 5.82);
    int placed = 0;
    while (flow.fits(5.82)) {
        flow.advance(5.82);
        ++placed;
    }
    EXPECT_EQ(placed, 40);
}

TEST(PageFlow, BodyEmptyUntilContentFollowsTheHeaders)
{
    PageFlow flow(10, 287);
    flow.advance(40); // page header
    flow.markBodyStart();
    EXPECT_TRUE(flow.bodyEmpty());
    flow.advance(5);
    EXPECT_FALSE(flow.bodyEmpty());
    EXPECT_DOUBLE_EQ(flow.spaceLeft(), 287 - 55);
}

} // namespace
} // namespace medrec::engine
