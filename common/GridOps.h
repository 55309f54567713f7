#pragma once

// Grid operations of the screens and print blocks, on a grid's rows (GridData) or on the
// widget itself, which then repaints.

#include "GridData.h"

namespace medrec::common {

class TUltraGrid;

// Empties columns 0 to columns-1 of every body row (every row of a grid without title
// rows) and leaves exactly one body row.
void ClearGrid(GridData &grid, int columns);
void ClearGrid(TUltraGrid &grid, int columns);

// Reorders whole rows first to last (inclusive, clamped to the grid) by the text of column:
// letters a to z capitalised, compared as CP949 bytes, shorter prefix first. Descending
// writes the ascending order back in reverse. Equal keys keep their order when ascending.
void SortGridRows(GridData &grid, int first, int last, bool descending, int column);
void SortGridRows(TUltraGrid &grid, int first, int last, bool descending, int column);

// Widens or narrows column n-1 so that columns 0 to n-1 exactly fill the grid's client
// width (never below 0). Nothing happens when n is not 1 to the column count.
void FitLastColumn(TUltraGrid &grid, int n);

} // namespace medrec::common
