#include "GridData.h"
#include "GridOps.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace medrec::common;

namespace {

// A grid with one title row and the given body rows (each a list of cells).
GridData gridOf(int cols, const std::vector<std::vector<std::string>> &body)
{
    GridData grid(cols, static_cast<int>(body.size()) + 1, 1);
    for (std::size_t r = 0; r < body.size(); ++r)
        grid.setRowCells(static_cast<int>(r) + 1, body[r]);
    return grid;
}

std::vector<std::string> column(const GridData &grid, int col)
{
    std::vector<std::string> out;
    for (int row = grid.fixedRows(); row < grid.rowCount(); ++row)
        out.push_back(grid.cell(col, row));
    return out;
}

using Texts = std::vector<std::string>;

} // namespace

TEST(GridTitle, PiecesFillTitleCellsFromColumnZero)
{
    GridData grid(4, 2, 1);
    grid.setRowCells(0, {"w", "x", "y", "z"});
    grid.setTitle("a|b|c");
    EXPECT_EQ(grid.rowCells(0), (Texts{"a", "b", "c", "z"}));
    EXPECT_EQ(grid.title(), "a|b|c");

    GridData two(2, 2, 1);
    two.setTitle("x|y");
    two.setTitle("");
    EXPECT_EQ(two.rowCells(0), (Texts{"", "y"}));

    // Empty pieces empty their cells; pieces beyond the columns are dropped.
    GridData chooser(6, 2, 1);
    chooser.setTitle("환자번호|환자명|Sex/Age|주민등록번호||진료과|합본번호");
    EXPECT_EQ(chooser.rowCells(0), (Texts{"환자번호", "환자명", "Sex/Age", "주민등록번호", "", "진료과"}));

    GridData scratch(3, 2, 0);
    scratch.setRowCells(0, {"keep", "me", ""});
    scratch.setTitle("a|b");
    EXPECT_EQ(scratch.rowCells(0), (Texts{"keep", "me", ""}));
}

TEST(GridRows, ClearRowsKeepsRowCountAndTitles)
{
    GridData grid = gridOf(2, {{"1", "a"}, {"2", "b"}, {"3", "c"}, {"4", "d"}, {"5", "e"}});
    grid.setTitle("no|name");
    grid.setColAlign(0, ColAlign::Right, false);
    ASSERT_TRUE(grid.sortByColumn(0));
    ASSERT_TRUE(grid.sortDescending(0));
    grid.clearRows();
    EXPECT_EQ(grid.bodyRowCount(), 5);
    for (int row = 1; row <= 5; ++row)
        EXPECT_EQ(grid.rowCells(row), (Texts{"", ""})) << row;
    EXPECT_EQ(grid.rowCells(0), (Texts{"no", "name"}));
    EXPECT_FALSE(grid.sortDescending(0));
}

TEST(GridRows, DeleteRow)
{
    GridData grid = gridOf(1, {{"a"}, {"b"}, {"c"}});
    for (int bad : {0, 4, -1}) {
        SCOPED_TRACE(bad);
        try {
            grid.deleteRow(bad);
            ADD_FAILURE() << "no range error";
        } catch (const std::out_of_range &e) {
            EXPECT_STREQ(e.what(), "Incorrect Row Deleted");
        }
        EXPECT_EQ(grid.rowCount(), 4);
    }

    grid.setCurrent(0, 2);
    grid.deleteRow(2);
    EXPECT_EQ(column(grid, 0), (Texts{"a", "c"}));
    EXPECT_EQ(grid.currentRow(), 2); // the same index, now "c"

    grid.deleteRow(2); // the last row: the current row becomes the new last
    EXPECT_EQ(column(grid, 0), (Texts{"a"}));
    EXPECT_EQ(grid.currentRow(), 1);

    grid.deleteRow(1); // the only body row is emptied, not removed
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(column(grid, 0), (Texts{""}));
}

TEST(GridRows, SizesAndOutOfRangeCells)
{
    GridData grid(2, 1, 1); // asks for no body row
    EXPECT_EQ(grid.rowCount(), 2);
    grid.setCell(5, 1, "x");
    grid.setCell(0, 9, "x");
    EXPECT_EQ(grid.cell(5, 1), "");
    EXPECT_EQ(grid.cell(-1, 0), "");

    grid.setRowCount(4);
    grid.setCell(1, 3, "last");
    grid.setCurrent(1, 3);
    grid.setRowCount(2); // rows removed lose their texts...
    EXPECT_EQ(grid.currentRow(), 1);
    grid.setRowCount(4); // ...and do not come back
    EXPECT_EQ(grid.cell(1, 3), "");

    grid.setColCount(9);
    grid.setCell(8, 1, "wide");
    grid.setColCount(6);
    EXPECT_EQ(grid.cell(8, 1), "");
    EXPECT_EQ(grid.rowCells(1).size(), 6u);
}

TEST(GridTitleSort, TextColumnTogglesDirection)
{
    GridData grid = gridOf(2, {{"b", "1"}, {"A", "2"}, {"나", "3"}, {"가", "4"}, {"c", "5"}});
    ASSERT_TRUE(grid.sortByColumn(0));
    EXPECT_EQ(column(grid, 0), (Texts{"A", "b", "c", "가", "나"}));
    EXPECT_EQ(column(grid, 1), (Texts{"2", "1", "5", "4", "3"})); // whole rows move
    ASSERT_TRUE(grid.sortByColumn(0));
    EXPECT_EQ(column(grid, 0), (Texts{"나", "가", "c", "b", "A"}));
    // Sorting another column starts ascending again.
    ASSERT_TRUE(grid.sortByColumn(1));
    EXPECT_EQ(column(grid, 1), (Texts{"1", "2", "3", "4", "5"}));
    EXPECT_FALSE(grid.sortDescending(0));
    EXPECT_TRUE(grid.sortDescending(1));
}

TEST(GridTitleSort, RightAlignedColumnSortsNumbers)
{
    GridData grid = gridOf(2, {{"1,200", "a"}, {"", "b"}, {"30", "c"}, {"-5", "d"}, {"100.5", "e"}});
    grid.setColAlign(0, ColAlign::Right, true);
    ASSERT_TRUE(grid.sortByColumn(0));
    EXPECT_EQ(column(grid, 1), (Texts{"b", "d", "c", "e", "a"})); // empty first, then by value
    ASSERT_TRUE(grid.sortByColumn(0));
    EXPECT_EQ(column(grid, 1), (Texts{"a", "e", "c", "d", "b"}));
}

TEST(GridTitleSort, GivesUpWithoutChanges)
{
    {
        SCOPED_TRACE("a text in a number column");
        GridData grid = gridOf(1, {{"3"}, {"x"}, {"1"}});
        grid.setColAlign(0, ColAlign::Right, false);
        EXPECT_FALSE(grid.sortByColumn(0));
        EXPECT_EQ(column(grid, 0), (Texts{"3", "x", "1"}));
        EXPECT_FALSE(grid.sortDescending(0));
    }
    {
        SCOPED_TRACE("text beyond the highest moved column");
        GridData grid = gridOf(4, {{"b", "", "", ""}, {"a", "", "", "kept"}});
        grid.setMaxCol(1);
        EXPECT_FALSE(grid.sortByColumn(0));
        EXPECT_EQ(column(grid, 0), (Texts{"b", "a"}));
        grid.setCell(3, 2, "");
        EXPECT_TRUE(grid.sortByColumn(0));
        EXPECT_EQ(column(grid, 0), (Texts{"a", "b"}));
    }
}

TEST(GridOps, SortGridRows)
{
    GridData grid = gridOf(2, {{"b", "1"}, {"A", "2"}, {"c", "3"}});
    SortGridRows(grid, 1, 3, false, 0);
    EXPECT_EQ(column(grid, 0), (Texts{"A", "b", "c"}));
    EXPECT_EQ(column(grid, 1), (Texts{"2", "1", "3"}));
    SortGridRows(grid, 1, 3, true, 0);
    EXPECT_EQ(column(grid, 0), (Texts{"c", "b", "A"}));
    EXPECT_EQ(grid.colCount(), 2);

    // Visits by date and time, newest first; the running numbers move with their rows.
    GridData visits = gridOf(2, {{"1", "2010-01-05 09:00"}, {"2", "2011-03-05 14:30"}, {"3", "2010-12-31 23:59"}});
    SortGridRows(visits, 1, visits.rowCount() - 1, true, 1);
    EXPECT_EQ(column(visits, 0), (Texts{"2", "3", "1"}));

    // Only the rows in range move; a range past the end is cut to the grid.
    GridData part = gridOf(1, {{"d"}, {"c"}, {"b"}, {"a"}});
    SortGridRows(part, 2, 99, false, 0);
    EXPECT_EQ(column(part, 0), (Texts{"d", "a", "b", "c"}));
    SortGridRows(part, 3, 2, false, 0);
    EXPECT_EQ(column(part, 0), (Texts{"d", "a", "b", "c"}));

    // Shorter prefix first, and equal keys keep their order.
    GridData prefix = gridOf(2, {{"ab", "1"}, {"a", "2"}, {"AB", "3"}});
    SortGridRows(prefix, 1, 3, false, 0);
    EXPECT_EQ(column(prefix, 1), (Texts{"2", "1", "3"}));
}

TEST(GridOps, ClearGrid)
{
    GridData titled = gridOf(3, {{"1", "a", "x"}, {"2", "b", "y"}, {"3", "c", "z"}});
    titled.setTitle("no|name|note");
    ClearGrid(titled, 2);
    EXPECT_EQ(titled.rowCount(), 2);
    EXPECT_EQ(titled.rowCells(0), (Texts{"no", "name", "note"}));
    EXPECT_EQ(titled.rowCells(1), (Texts{"", "", "x"})); // only the given columns are emptied

    GridData scratch(2, 4, 0);
    scratch.setRowCells(0, {"a", "b"});
    scratch.setRowCells(3, {"c", "d"});
    ClearGrid(scratch, 2);
    EXPECT_EQ(scratch.rowCount(), 1);
    EXPECT_EQ(scratch.rowCells(0), (Texts{"", ""}));
}
