#pragma once

// TUltraGrid: the string grid of every list of the screens, and the hidden scratch tables
// the print blocks fill for their report forms. It shows a GridData (title rows at the top,
// which do not scroll, then body rows) with a title line given as one text, per-column
// alignment and number format, banded and selected row colours, thin silver column lines,
// body cells wrapped at CP949 character boundaries with a tool tip for texts that do not
// fit, and an optional sort by double-clicking a title cell.
//
// Indices are (col, row) grid indices: row 0 is the title row when the grid has one, so
// the first body row is fixedRows(). Geometry is in pixels.

#include "GridData.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>

#include <functional>
#include <string>
#include <vector>

namespace medrec::common {

// How one cell is painted, relative to the cell's top-left corner.
struct CellLayout
{
    struct Line
    {
        std::string text;
        QPoint origin; // top-left of the line's text
        int width = 0;
    };

    QSize size;
    QColor background;
    QColor foreground;
    QFont font;
    std::string text;        // the text as shown (number columns formatted)
    std::vector<Line> lines; // what is drawn, clipped to the cell
    bool fits = true;        // the whole text fits on one line
};

class TUltraGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // Asked before the current cell moves to another cell; returning false refuses the move.
    using BeforeColRowChange = std::function<bool(int col, int row, int newCol, int newRow)>;
    // Runs after the grid has painted a cell (cell in viewport coordinates).
    using DrawCellHook = std::function<void(QPainter &painter, int col, int row, const QRect &cell)>;

    static constexpr int kDefaultColWidth = 64;
    static constexpr int kDefaultRowHeight = 24;
    // The column lines drawn when the grid's own lines are off.
    static constexpr QRgb kColumnLineColor = qRgb(192, 192, 192);

    explicit TUltraGrid(QWidget *parent = nullptr);
    ~TUltraGrid() override;

    // Rows and texts. Every change repaints.
    const GridData &data() const { return m_data; }
    // Runs change on the rows, then repaints and re-fits the scroll range once.
    void edit(const std::function<void(GridData &)> &change);

    int colCount() const { return m_data.colCount(); }
    void setColCount(int count);
    int rowCount() const { return m_data.rowCount(); }
    void setRowCount(int count);
    int fixedRows() const { return m_data.fixedRows(); }
    void setFixedRows(int count);
    const std::string &cell(int col, int row) const { return m_data.cell(col, row); }
    void setCell(int col, int row, std::string text);
    std::vector<std::string> rowCells(int row) const { return m_data.rowCells(row); }
    void setRowCells(int row, std::vector<std::string> texts);

    // "Title": titles separated by "|" into the title row (see GridData::setTitle).
    const std::string &title() const { return m_data.title(); }
    void setTitle(std::string title);
    void clearRows();
    // Throws std::out_of_range("Incorrect Row Deleted") for a row that is not a body row.
    void deleteRow(int row);
    void setColAlign(int col, ColAlign align, bool numberFormat = false);
    // The sort of a title double-click, without the click event; false when it gave up.
    bool sortByColumn(int col);

    // The current cell, always a body cell.
    int col() const { return m_data.currentCol(); }
    int row() const { return m_data.currentRow(); }
    // Moves the current cell (clamped into the body) and scrolls it into view. A move to
    // another cell asks OnBeforeColRowChange first; false when it refused. Does not raise
    // clicked(): that signal is the operator's.
    bool setCurrentCell(int col, int row);
    bool setRow(int row) { return setCurrentCell(col(), row); }
    // True while clicked() runs for a move the operator made with the keyboard (arrows,
    // Page Up/Down, Home, End), so a handler can leave the keyboard where the keys are.
    bool keyboardMove() const { return m_keyboardMove; }

    // Properties of the screens' form definitions.
    ColAlign fixedAlignment() const { return m_fixedAlignment; }
    void setFixedAlignment(ColAlign align);
    bool fixedFontBold() const { return m_fixedFontBold; }
    void setFixedFontBold(bool bold);
    QColor selectedRowColor() const { return m_selectedRowColor; }
    void setSelectedRowColor(const QColor &color);
    QColor selectedRowFontColor() const { return m_selectedRowFontColor; }
    void setSelectedRowFontColor(const QColor &color);
    QColor gridRowColor() const { return m_gridRowColor; }
    void setGridRowColor(const QColor &color);
    QColor gridRowFontColor() const { return m_gridRowFontColor; }
    void setGridRowFontColor(const QColor &color);
    bool wrap() const { return m_wrap; }
    void setWrap(bool wrap);
    bool allowSort() const { return m_allowSort; }
    void setAllowSort(bool allow) { m_allowSort = allow; }
    int maxCol() const { return m_data.maxCol(); }
    void setMaxCol(int col) { m_data.setMaxCol(col); }
    // Whole-row selection: the current row is drawn selected, not only the current cell.
    bool rowSelect() const { return m_rowSelect; }
    void setRowSelect(bool on);

    void setOnBeforeColRowChange(BeforeColRowChange handler) { m_beforeColRowChange = std::move(handler); }
    void setOnDrawCell(DrawCellHook hook) { m_drawCell = std::move(hook); }

    // Geometry. A line width of 0 (as on every screen) switches the grid's own lines off
    // in favour of the silver column lines.
    int colWidth(int col) const;
    void setColWidth(int col, int width);
    int defaultRowHeight() const { return m_rowHeight; }
    void setDefaultRowHeight(int height);
    int gridLineWidth() const { return m_lineWidth; }
    void setGridLineWidth(int width);
    // Width available to the columns: the widget less its frame and a vertical scroll bar
    // when one is needed. Valid for hidden grids too.
    int clientWidth() const;

    // How a cell is painted (any cell, visible or not).
    CellLayout cellLayout(int col, int row) const;
    // The cell's rectangle in viewport coordinates (off-view cells lie outside the viewport).
    QRect cellRect(int col, int row) const;
    // The cell under a viewport point, or (-1, -1).
    QPoint cellAt(const QPoint &point) const;
    // The tool tip of a body cell: its whole text when it does not fit, else empty.
    QString hintText(int col, int row) const;
    // The first body row shown below the title rows.
    int topRow() const;

signals:
    // The operator clicked a body cell or moved the current cell with the keyboard; also
    // after a sort by a title cell. The current cell is already the new one.
    void clicked();
    // A double-click inside the current row.
    void doubleClicked();
    // The current cell changed, by the operator or the program.
    void currentCellChanged(int col, int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void changed();
    void syncColumns();
    void updateScrollBars();
    void ensureVisible(int row);
    int visibleBodyRows(int viewportHeight) const;
    int rowPitch() const { return m_rowHeight + m_lineWidth; }
    int columnsWidth() const;
    bool isSelected(int col, int row) const;
    // The operator's move: asks, moves, raises clicked() when the cell is then current.
    void operatorMove(int col, int row);
    void paintCell(QPainter &painter, int col, int row, const QRect &rect);

    GridData m_data;
    std::vector<int> m_colWidths;
    int m_rowHeight = kDefaultRowHeight;
    int m_lineWidth = 1;
    ColAlign m_fixedAlignment = ColAlign::Left;
    bool m_fixedFontBold = true;
    QColor m_selectedRowColor;
    QColor m_selectedRowFontColor;
    QColor m_gridRowColor;
    QColor m_gridRowFontColor;
    bool m_wrap = true;
    bool m_allowSort = false;
    bool m_rowSelect = false;
    bool m_keyboardMove = false;
    BeforeColRowChange m_beforeColRowChange;
    DrawCellHook m_drawCell;
};

} // namespace medrec::common
