#pragma once

// The rows of a TUltraGrid apart from its painting: a rectangle of texts whose top
// fixedRows() rows are title rows, the per-column alignment and number format, the sort
// direction flags and the current cell. Indices are grid indices: row 0 is the first title
// row when there is one, so the first body row is fixedRows().
//
// There is always at least one column and one body row; the current cell is always a body
// cell. Reads outside the grid give empty text, writes outside it are ignored.

#include <array>
#include <string>
#include <vector>

namespace medrec::common {

enum class ColAlign { Left = 0, Right = 1, Center = 2 };

// The key by which grid sorts order texts: letters a to z capitalised, in CP949 bytes, so
// that comparing keys byte by byte (shorter prefix first) gives the grids' text order.
std::string GridSortKey(const std::string &text);

class GridData
{
public:
    // Column settings exist for columns 0 to 150; other columns are left-aligned text.
    static constexpr int kColumnSettings = 151;

    GridData(int colCount = 5, int rowCount = 2, int fixedRows = 1);

    int colCount() const { return m_colCount; }
    // At least 1. Columns added are empty; columns removed lose their texts.
    void setColCount(int count);
    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // At least fixedRows() + 1. Rows added are empty; rows removed lose their texts.
    void setRowCount(int count);
    int fixedRows() const { return m_fixedRows; }
    void setFixedRows(int count);
    int bodyRowCount() const { return rowCount() - m_fixedRows; }
    bool isBodyRow(int row) const { return row >= m_fixedRows && row < rowCount(); }

    const std::string &cell(int col, int row) const;
    void setCell(int col, int row, std::string text);
    // The colCount() texts of a row (empty texts outside the grid).
    std::vector<std::string> rowCells(int row) const;
    // Texts beyond colCount() are dropped; missing ones become empty.
    void setRowCells(int row, std::vector<std::string> texts);

    // The title line, titles separated by "|": piece k goes to row 0, column k. Title cells
    // right of the last piece keep their text. Ignored by a grid without title rows.
    const std::string &title() const { return m_title; }
    void setTitle(std::string title);

    void setColAlign(int col, ColAlign align, bool numberFormat);
    ColAlign colAlign(int col) const;
    bool colNumberFormat(int col) const;
    // Whether the next sort by the column runs descending.
    bool sortDescending(int col) const;

    // Highest column a title sort moves.
    int maxCol() const { return m_maxCol; }
    void setMaxCol(int col) { m_maxCol = col; }

    int currentCol() const { return m_currentCol; }
    int currentRow() const { return m_currentRow; }
    // Clamped into the body.
    void setCurrent(int col, int row);

    // Empties every body cell (the row count stays) and clears the sort direction flags.
    void clearRows();
    // Removes one body row; the only body row is emptied instead. Throws std::out_of_range
    // with the text "Incorrect Row Deleted" for a row that is not a body row.
    void deleteRow(int row);

    // The sort of a double-click on column col's title: body rows ordered by that column,
    // numerically for a right-aligned column, ascending or descending by the column's flag,
    // which is then toggled (the other flags are cleared). Gives up without changes, and
    // returns false, when a right-aligned column holds a text that is not a number or when
    // any column beyond maxCol() holds text, which the sort would leave behind.
    bool sortByColumn(int col);

private:
    struct ColumnSetting
    {
        ColAlign align = ColAlign::Left;
        bool numberFormat = false;
        bool descending = false;
    };

    void clampCurrent();
    bool hasColumnSetting(int col) const { return col >= 0 && col < kColumnSettings; }

    int m_colCount = 0;
    int m_fixedRows = 0;
    int m_maxCol = 80;
    int m_currentCol = 0;
    int m_currentRow = 0;
    std::string m_title;
    std::vector<std::vector<std::string>> m_rows;
    std::array<ColumnSetting, kColumnSettings> m_columns{};
};

} // namespace medrec::common
