#pragma once

// Paging of the many-row kinds: a block stages its print lines in a scratch table, and the
// report's need-data callback hands them out one band record at a time. The cursor is reset
// by the report's before-print, so every run starts at the first staged row (a second run
// of the same report included), never only when the form was made.

#include "Bindings.h"
#include "FieldValues.h"
#include "GridData.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace medrec::engine {
class Report;
}

namespace medrec::reports {

// The body rows of a table, as staged when the report was fed (the table is copied), taken
// `step` rows at a time (a block of rows per band record).
class StagedRows
{
public:
    explicit StagedRows(common::GridData table, int step = 1);

    int step() const { return m_step; }
    void reset() { m_row = m_table.fixedRows() - m_step; }
    // Moves to the next staged row (block); false when none is left.
    bool next();
    int row() const { return m_row; }
    // Column `col` of the current row, or of the row `offset` rows into the current block.
    const std::string &cell(int col, int offset = 0) const { return m_table.cell(col, m_row + offset); }
    const common::GridData &table() const { return m_table; }

private:
    common::GridData m_table;
    int m_step = 1;
    int m_row = 0;
};

// The cells of the current row as values "col0", "col1", ...: what a detail binding table
// reads.
FieldValues RowValues(const StagedRows &rows);
// The cells of every row of the current block as "row0.col0", "row0.col1", ... "rowK.colN",
// for a band that shows the block's rows together.
FieldValues BlockValues(const StagedRows &rows);

// One band record per staged row: before-print resets the cursor; need-data moves it and
// lets `fill` set the band for that row.
using RowFill = std::function<void(engine::Report &, const StagedRows &)>;
void FeedRows(engine::Report &report, common::GridData table, RowFill fill);
// One band record per staged row, its labels set by the detail table from the row's cells
// ("col0", "col1", ...).
void FeedDetailRows(engine::Report &report, common::GridData table, const BindingTable &detail);
// One band record per block of `rowsPerRecord` consecutive staged rows; `fill` reads the
// block's rows as cell(col, 0 .. rowsPerRecord - 1).
void FeedRowBlocks(engine::Report &report, common::GridData table, int rowsPerRecord, RowFill fill);
// FeedDetailRows for the first `bodyRows` body rows only; none at all prints the page frame without
// a detail record (a table may hold no rows; a scratch grid always has one).
void FeedDetailRows(engine::Report &report, common::GridData table, int bodyRows, const BindingTable &detail);

// Label k shows column k of the staged row ("col0", "col1", ...): a detail table.
BindingTable ColumnTexts(const std::vector<std::string> &labels);

// The scratch table `list` with its title row and `bodyRows` body rows, every cell empty:
// whatever an earlier print staged never shows in an empty slot.
common::GridData &FreshPrintLines(common::GridData &list, int bodyRows);

// One band record per staged row, its labels set by the detail table from the row's cells
// ("col0", "col1", ...).
void FeedDetailRows(engine::Report &report, common::GridData table, const BindingTable &detail);
// The same for the first `bodyRows` body rows only; none at all prints the page frame without
// a detail record (a table may hold no rows; a scratch grid always has one).
void FeedDetailRows(engine::Report &report, common::GridData table, int bodyRows, const BindingTable &detail);

// Label k shows column k of the staged row ("col0", "col1", ...): a detail table.
BindingTable ColumnTexts(const std::vector<std::string> &labels);

// The scratch table `list` with its title row and `bodyRows` body rows, every cell empty:
// whatever an earlier print staged never shows in an empty slot.
common::GridData &FreshPrintLines(common::GridData &list, int bodyRows);

// One line of a staged row's wrapped text.
struct LineStep
{
    const StagedRows &rows;
    const std::string &text;
    int line = 0;  // 0-based
    int lines = 1; // the row's line count, at least 1
    bool first() const { return line == 0; }
    bool last() const { return line + 1 == lines; }
};

// The lines a row prints, wrapped as the printed page will show them (in the weight they
// print in); called once per row, when its first line is due.
using RowWrap = std::function<std::vector<std::string>(engine::Report &, const StagedRows &)>;
using LineFill = std::function<void(engine::Report &, const LineStep &)>;

// One band record per wrapped line of each staged row. A row that wraps to no lines (an
// empty text) still prints one empty line, so every row gets its first and last line.
void FeedLines(engine::Report &report, common::GridData table, RowWrap wrap, LineFill fill);

} // namespace medrec::reports
