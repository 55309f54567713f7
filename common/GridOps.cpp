#include "GridOps.h"

#include "UltraGrid.h"

#include <algorithm>

namespace medrec::common {

void ClearGrid(GridData &grid, int columns)
{
    for (int row = grid.fixedRows(); row < grid.rowCount(); ++row)
        for (int col = 0; col < columns; ++col)
            grid.setCell(col, row, {});
    grid.setRowCount(grid.fixedRows() + 1);
}

void ClearGrid(TUltraGrid &grid, int columns)
{
    grid.edit([columns](GridData &d) { ClearGrid(d, columns); });
}

void SortGridRows(GridData &grid, int first, int last, bool descending, int column)
{
    first = std::max(first, 0);
    last = std::min(last, grid.rowCount() - 1);
    if (first >= last)
        return;

    struct Entry
    {
        std::string key;
        std::vector<std::string> cells;
    };
    std::vector<Entry> entries;
    for (int row = first; row <= last; ++row)
        entries.push_back({GridSortKey(grid.cell(column, row)), grid.rowCells(row)});
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) { return a.key < b.key; });
    if (descending)
        std::reverse(entries.begin(), entries.end());
    for (int row = first; row <= last; ++row)
        grid.setRowCells(row, std::move(entries[static_cast<std::size_t>(row - first)].cells));
}

void SortGridRows(TUltraGrid &grid, int first, int last, bool descending, int column)
{
    grid.edit([&](GridData &d) { SortGridRows(d, first, last, descending, column); });
}

void FitLastColumn(TUltraGrid &grid, int n)
{
    if (n < 1 || n > grid.colCount())
        return;
    int used = 0;
    for (int col = 0; col < n - 1; ++col)
        used += grid.colWidth(col) + grid.gridLineWidth();
    grid.setColWidth(n - 1, std::max(0, grid.clientWidth() - used - grid.gridLineWidth()));
}

} // namespace medrec::common
