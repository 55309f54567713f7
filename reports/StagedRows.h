#pragma once

// Paging of the many-row kinds: a block stages its print lines in a scratch table, and the
// report's need-data callback hands them out one band record at a time. The cursor is reset
// by the report's before-print, so every run starts at the first staged row (a second run
// of the same report included), never only when the form was made.

#include "GridData.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace medrec::report {
class Report;
}

namespace medrec::reports {

// The body rows of a table, as staged when the report was fed (the table is copied).
class StagedRows
{
public:
    explicit StagedRows(common::GridData table);

    void reset() { m_row = m_table.fixedRows() - 1; }
    // Moves to the next staged row; false when none is left.
    bool next();
    int row() const { return m_row; }
    const std::string &cell(int col) const { return m_table.cell(col, m_row); }
    const common::GridData &table() const { return m_table; }

private:
    common::GridData m_table;
    int m_row = 0;
};

// One band record per staged row: before-print resets the cursor; need-data moves it and
// lets `fill` set the band for that row.
using RowFill = std::function<void(report::Report &, const StagedRows &)>;
void FeedRows(report::Report &report, common::GridData table, RowFill fill);

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
using RowWrap = std::function<std::vector<std::string>(report::Report &, const StagedRows &)>;
using LineFill = std::function<void(report::Report &, const LineStep &)>;

// One band record per wrapped line of each staged row. A row that wraps to no lines (an
// empty text) still prints one empty line, so every row gets its first and last line.
void FeedLines(report::Report &report, common::GridData table, RowWrap wrap, LineFill fill);

} // namespace medrec::reports
