#include "UltraGrid.h"

#include <QCursor> // BusyCursor.h uses QCursor without including it

#include "BusyCursor.h"
#include "CellWrap.h"
#include "NumberFormat.h"
#include "TextHelpers.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace medrec::common {

namespace {

// Offsets of a text that fits its cell.
constexpr int kTextTop = 3;
constexpr int kRightTextGap = 3;

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

TUltraGrid::TUltraGrid(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    m_selectedRowColor = palette().color(QPalette::Highlight);
    m_selectedRowFontColor = palette().color(QPalette::HighlightedText);
    m_gridRowColor = palette().color(QPalette::Base);
    m_gridRowFontColor = palette().color(QPalette::Text);
    syncColumns();
    updateScrollBars();
}

TUltraGrid::~TUltraGrid() = default;

void TUltraGrid::edit(const std::function<void(GridData &)> &change)
{
    const int oldCol = col();
    const int oldRow = row();
    change(m_data);
    changed();
    if (col() != oldCol || row() != oldRow)
        emit currentCellChanged(col(), row());
}

void TUltraGrid::setColCount(int count)
{
    edit([count](GridData &d) { d.setColCount(count); });
}

void TUltraGrid::setRowCount(int count)
{
    edit([count](GridData &d) { d.setRowCount(count); });
}

void TUltraGrid::setFixedRows(int count)
{
    edit([count](GridData &d) { d.setFixedRows(count); });
}

void TUltraGrid::setCell(int col, int row, std::string text)
{
    m_data.setCell(col, row, std::move(text));
    viewport()->update();
}

void TUltraGrid::setRowCells(int row, std::vector<std::string> texts)
{
    m_data.setRowCells(row, std::move(texts));
    viewport()->update();
}

void TUltraGrid::setTitle(std::string title)
{
    m_data.setTitle(std::move(title));
    viewport()->update();
}

void TUltraGrid::clearRows()
{
    m_data.clearRows();
    viewport()->update();
}

void TUltraGrid::deleteRow(int row)
{
    edit([row](GridData &d) { d.deleteRow(row); });
}

void TUltraGrid::setColAlign(int col, ColAlign align, bool numberFormat)
{
    m_data.setColAlign(col, align, numberFormat);
    viewport()->update();
}

bool TUltraGrid::sortByColumn(int col)
{
    const bool sorted = m_data.sortByColumn(col);
    viewport()->update();
    return sorted;
}

bool TUltraGrid::setCurrentCell(int col, int row)
{
    col = std::clamp(col, 0, colCount() - 1);
    row = std::clamp(row, fixedRows(), rowCount() - 1);
    if (col != this->col() || row != this->row()) {
        if (m_beforeColRowChange && !m_beforeColRowChange(this->col(), this->row(), col, row))
            return false;
        m_data.setCurrent(col, row);
        viewport()->update();
        emit currentCellChanged(col, row);
    }
    ensureVisible(row);
    return true;
}

void TUltraGrid::setFixedAlignment(ColAlign align)
{
    m_fixedAlignment = align;
    viewport()->update();
}

void TUltraGrid::setFixedFontBold(bool bold)
{
    m_fixedFontBold = bold;
    viewport()->update();
}

void TUltraGrid::setSelectedRowColor(const QColor &color)
{
    m_selectedRowColor = color;
    viewport()->update();
}

void TUltraGrid::setSelectedRowFontColor(const QColor &color)
{
    m_selectedRowFontColor = color;
    viewport()->update();
}

void TUltraGrid::setGridRowColor(const QColor &color)
{
    m_gridRowColor = color;
    viewport()->update();
}

void TUltraGrid::setGridRowFontColor(const QColor &color)
{
    m_gridRowFontColor = color;
    viewport()->update();
}

void TUltraGrid::setWrap(bool wrap)
{
    m_wrap = wrap;
    viewport()->update();
}

void TUltraGrid::setRowSelect(bool on)
{
    m_rowSelect = on;
    viewport()->update();
}

int TUltraGrid::colWidth(int col) const
{
    return col >= 0 && col < static_cast<int>(m_colWidths.size()) ? m_colWidths[static_cast<std::size_t>(col)] : 0;
}

void TUltraGrid::setColWidth(int col, int width)
{
    if (col < 0 || col >= static_cast<int>(m_colWidths.size()))
        return;
    m_colWidths[static_cast<std::size_t>(col)] = std::max(0, width);
    changed();
}

void TUltraGrid::setDefaultRowHeight(int height)
{
    m_rowHeight = std::max(1, height);
    changed();
}

void TUltraGrid::setGridLineWidth(int width)
{
    m_lineWidth = std::max(0, width);
    changed();
}

int TUltraGrid::clientWidth() const
{
    const QSize available = maximumViewportSize();
    int width = available.width();
    const bool barNeeded =
        verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded && m_data.bodyRowCount() > visibleBodyRows(available.height());
    if (barNeeded)
        width -= style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    return std::max(0, width);
}

CellLayout TUltraGrid::cellLayout(int col, int row) const
{
    CellLayout layout;
    layout.size = QSize(colWidth(col), m_rowHeight);
    layout.font = font();
    const bool title = row < fixedRows();
    if (title) {
        layout.background = palette().color(QPalette::Button);
        layout.foreground = palette().color(QPalette::ButtonText);
        layout.font.setBold(m_fixedFontBold);
    } else if (isSelected(col, row)) {
        layout.background = m_selectedRowColor;
        layout.foreground = m_selectedRowFontColor;
    } else if (row % 2 == 1) {
        layout.background = m_gridRowColor;
        layout.foreground = m_gridRowFontColor;
    } else {
        layout.background = palette().color(QPalette::Base);
        layout.foreground = palette().color(QPalette::Text);
    }

    const ColAlign align = title ? m_fixedAlignment : m_data.colAlign(col);
    layout.text = cell(col, row);
    if (!title && align == ColAlign::Right && m_data.colNumberFormat(col) && !TrimBlanks(layout.text).empty())
        layout.text = NumberFormatDisplay(layout.text);
    if (layout.text.empty())
        return layout;

    const QFontMetrics metrics(layout.font);
    const MeasureText measure = [&metrics](std::string_view s) { return metrics.horizontalAdvance(qs(s)); };
    const int cellWidth = layout.size.width();
    const int textWidth = measure(layout.text);

    if (TextFits(textWidth, cellWidth)) {
        int x = kCellTextLeft;
        if (align == ColAlign::Center)
            x = (cellWidth - textWidth) / 2;
        else if (align == ColAlign::Right)
            x = cellWidth - kRightTextGap - textWidth;
        layout.lines.push_back({layout.text, QPoint(x, kTextTop), textWidth});
        return layout;
    }

    layout.fits = false;
    if (cellWidth < measure("AB")) {
        layout.lines.push_back({layout.text, QPoint(kCellTextLeft, kTextTop), textWidth});
        return layout;
    }
    int y = kTextTop;
    for (std::string &line : WrapToWidth(layout.text, cellWidth, measure)) {
        const int width = measure(line);
        layout.lines.push_back({std::move(line), QPoint(kCellTextLeft, y), width});
        // Titles always wrap; body cells only with Wrap.
        if (!title && !m_wrap)
            break;
        y += metrics.height();
    }
    return layout;
}

QRect TUltraGrid::cellRect(int col, int row) const
{
    int x = -horizontalScrollBar()->value();
    for (int c = 0; c < col && c < colCount(); ++c)
        x += colWidth(c) + m_lineWidth;
    const int y = row < fixedRows() ? row * rowPitch() : (fixedRows() + row - topRow()) * rowPitch();
    return QRect(x, y, colWidth(col), m_rowHeight);
}

QPoint TUltraGrid::cellAt(const QPoint &point) const
{
    if (point.x() < 0 || point.y() < 0)
        return {-1, -1};
    const int titleHeight = fixedRows() * rowPitch();
    const int row =
        point.y() < titleHeight ? point.y() / rowPitch() : topRow() + (point.y() - titleHeight) / rowPitch();
    if (row >= rowCount())
        return {-1, -1};
    int x = -horizontalScrollBar()->value();
    for (int c = 0; c < colCount(); ++c) {
        const int next = x + colWidth(c) + m_lineWidth;
        if (point.x() >= x && point.x() < next)
            return {c, row};
        x = next;
    }
    return {-1, -1};
}

QString TUltraGrid::hintText(int col, int row) const
{
    if (!m_data.isBodyRow(row) || col < 0 || col >= colCount())
        return {};
    const CellLayout layout = cellLayout(col, row);
    return layout.fits ? QString() : qs(layout.text);
}

int TUltraGrid::topRow() const { return fixedRows() + verticalScrollBar()->value(); }

void TUltraGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    const int height = viewport()->height();
    const int width = viewport()->width();

    std::vector<int> rows;
    for (int r = 0; r < fixedRows(); ++r)
        rows.push_back(r);
    for (int r = topRow(); r < rowCount() && (r - topRow() + fixedRows()) * rowPitch() < height; ++r)
        rows.push_back(r);

    for (int r : rows) {
        int x = -horizontalScrollBar()->value();
        for (int c = 0; c < colCount() && x < width; ++c) {
            const QRect rect = cellRect(c, r);
            if (rect.right() >= 0 && rect.width() > 0)
                paintCell(painter, c, r, rect);
            x += colWidth(c) + m_lineWidth;
        }
    }
}

void TUltraGrid::paintCell(QPainter &painter, int col, int row, const QRect &rect)
{
    const CellLayout layout = cellLayout(col, row);
    painter.fillRect(rect, layout.background);

    painter.save();
    painter.setClipRect(rect);
    painter.setFont(layout.font);
    painter.setPen(layout.foreground);
    const int lineHeight = QFontMetrics(layout.font).height();
    for (const CellLayout::Line &line : layout.lines) {
        const QRect box(rect.topLeft() + line.origin, QSize(std::max(line.width, rect.width()), lineHeight));
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, qs(line.text));
    }
    painter.restore();

    if (m_lineWidth == 0) {
        painter.setPen(QColor(kColumnLineColor));
        painter.drawLine(rect.topRight(), rect.bottomRight());
        if (row == rowCount() - 1)
            painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    } else {
        const QColor lineColor = palette().color(QPalette::Mid);
        painter.fillRect(QRect(rect.right() + 1, rect.top(), m_lineWidth, rect.height() + m_lineWidth), lineColor);
        painter.fillRect(QRect(rect.left(), rect.bottom() + 1, rect.width(), m_lineWidth), lineColor);
    }

    if (m_drawCell)
        m_drawCell(painter, col, row, rect);
}

void TUltraGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint at = cellAt(event->position().toPoint());
    if (at.x() >= 0 && m_data.isBodyRow(at.y()))
        operatorMove(at.x(), at.y());
}

void TUltraGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = cellAt(event->position().toPoint());
    if (at.x() < 0)
        return;
    if (!m_data.isBodyRow(at.y())) {
        if (m_allowSort) {
            {
                middleware::BusyCursor busy;
                sortByColumn(at.x());
            }
            emit clicked();
        }
        return;
    }
    // The first press already made the cell current; a second press elsewhere moves.
    if (at.x() != col() || at.y() != row())
        operatorMove(at.x(), at.y());
    if (at.y() == row())
        emit doubleClicked();
}

void TUltraGrid::keyPressEvent(QKeyEvent *event)
{
    const int page = std::max(1, visibleBodyRows(viewport()->height()));
    const bool toEnds = m_rowSelect || event->modifiers().testFlag(Qt::ControlModifier);
    int newCol = col();
    int newRow = row();
    switch (event->key()) {
    case Qt::Key_Up:
        --newRow;
        break;
    case Qt::Key_Down:
        ++newRow;
        break;
    case Qt::Key_PageUp:
        newRow -= page;
        break;
    case Qt::Key_PageDown:
        newRow += page;
        break;
    case Qt::Key_Home:
        (toEnds ? newRow : newCol) = toEnds ? fixedRows() : 0;
        break;
    case Qt::Key_End:
        (toEnds ? newRow : newCol) = toEnds ? rowCount() - 1 : colCount() - 1;
        break;
    case Qt::Key_Left:
        if (m_rowSelect)
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        else
            --newCol;
        break;
    case Qt::Key_Right:
        if (m_rowSelect)
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        else
            ++newCol;
        break;
    default:
        // Enter, Esc and the rest belong to the window (default and cancel buttons).
        event->ignore();
        return;
    }
    newCol = std::clamp(newCol, 0, colCount() - 1);
    newRow = std::clamp(newRow, fixedRows(), rowCount() - 1);
    if (newCol != col() || newRow != row()) {
        const QScopedValueRollback byKeyboard(m_keyboardMove, true);
        operatorMove(newCol, newRow);
    }
}

void TUltraGrid::resizeEvent(QResizeEvent *) { updateScrollBars(); }

bool TUltraGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QPoint at = cellAt(help->pos());
        const QString tip = at.x() >= 0 ? hintText(at.x(), at.y()) : QString();
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), tip, viewport(), cellRect(at.x(), at.y()));
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TUltraGrid::scrollContentsBy(int, int) { viewport()->update(); }

void TUltraGrid::changed()
{
    syncColumns();
    updateScrollBars();
    viewport()->update();
}

void TUltraGrid::syncColumns() { m_colWidths.resize(static_cast<std::size_t>(colCount()), kDefaultColWidth); }

int TUltraGrid::visibleBodyRows(int viewportHeight) const
{
    return std::max(0, viewportHeight - fixedRows() * rowPitch()) / rowPitch();
}

int TUltraGrid::columnsWidth() const
{
    int width = 0;
    for (int c = 0; c < colCount(); ++c)
        width += colWidth(c) + m_lineWidth;
    return width;
}

void TUltraGrid::updateScrollBars()
{
    const int visible = std::max(1, visibleBodyRows(viewport()->height()));
    verticalScrollBar()->setRange(0, std::max(0, m_data.bodyRowCount() - visible));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
    const int width = viewport()->width();
    horizontalScrollBar()->setRange(0, std::max(0, columnsWidth() - width));
    horizontalScrollBar()->setPageStep(std::max(1, width));
    horizontalScrollBar()->setSingleStep(20);
}

void TUltraGrid::ensureVisible(int row)
{
    if (!m_data.isBodyRow(row))
        return;
    const int visible = std::max(1, visibleBodyRows(viewport()->height()));
    if (row < topRow())
        verticalScrollBar()->setValue(row - fixedRows());
    else if (row >= topRow() + visible)
        verticalScrollBar()->setValue(row - fixedRows() - visible + 1);
}

bool TUltraGrid::isSelected(int col, int row) const
{
    if (!m_data.isBodyRow(row) || row != this->row())
        return false;
    return m_rowSelect || col == this->col();
}

void TUltraGrid::operatorMove(int col, int row)
{
    if (setCurrentCell(col, row))
        emit clicked();
}

} // namespace medrec::common
