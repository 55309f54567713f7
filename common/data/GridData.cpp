#include "GridData.h"

#include "Cp949.h"
#include "NumberFormat.h"
#include "TextHelpers.h"

#include <algorithm>
#include <stdexcept>
#include <variant>

namespace medrec::common {

namespace {

const std::string kEmpty;

// What the title sort of a number column uses for an empty cell.
constexpr double kEmptyNumber = -99999999999.0;

} // namespace

std::string GridSortKey(const std::string &text)
{
    std::string key = text::toCp949(text);
    for (char &c : key)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return key;
}

GridData::GridData(int colCount, int rowCount, int fixedRows)
{
    m_colCount = std::max(1, colCount);
    m_fixedRows = std::max(0, fixedRows);
    setRowCount(rowCount);
}

void GridData::setColCount(int count)
{
    m_colCount = std::max(1, count);
    for (auto &row : m_rows)
        row.resize(static_cast<std::size_t>(m_colCount));
    clampCurrent();
}

void GridData::setRowCount(int count)
{
    count = std::max(count, m_fixedRows + 1);
    m_rows.resize(static_cast<std::size_t>(count), std::vector<std::string>(static_cast<std::size_t>(m_colCount)));
    clampCurrent();
}

void GridData::setFixedRows(int count)
{
    m_fixedRows = std::max(0, count);
    setRowCount(rowCount());
}

const std::string &GridData::cell(int col, int row) const
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= rowCount())
        return kEmpty;
    return m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void GridData::setCell(int col, int row, std::string text)
{
    if (col < 0 || col >= m_colCount || row < 0 || row >= rowCount())
        return;
    m_rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
}

std::vector<std::string> GridData::rowCells(int row) const
{
    if (row < 0 || row >= rowCount())
        return std::vector<std::string>(static_cast<std::size_t>(m_colCount));
    return m_rows[static_cast<std::size_t>(row)];
}

void GridData::setRowCells(int row, std::vector<std::string> texts)
{
    if (row < 0 || row >= rowCount())
        return;
    texts.resize(static_cast<std::size_t>(m_colCount));
    m_rows[static_cast<std::size_t>(row)] = std::move(texts);
}

void GridData::setTitle(std::string title)
{
    m_title = std::move(title);
    if (m_fixedRows == 0)
        return;
    int col = 0;
    std::size_t from = 0;
    while (true) {
        const std::size_t bar = m_title.find('|', from);
        setCell(col++, 0, m_title.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
        if (bar == std::string::npos)
            break;
        from = bar + 1;
    }
}

void GridData::setColAlign(int col, ColAlign align, bool numberFormat)
{
    if (!hasColumnSetting(col))
        return;
    m_columns[static_cast<std::size_t>(col)].align = align;
    m_columns[static_cast<std::size_t>(col)].numberFormat = numberFormat;
}

ColAlign GridData::colAlign(int col) const
{
    return hasColumnSetting(col) ? m_columns[static_cast<std::size_t>(col)].align : ColAlign::Left;
}

bool GridData::colNumberFormat(int col) const
{
    return hasColumnSetting(col) && m_columns[static_cast<std::size_t>(col)].numberFormat;
}

bool GridData::sortDescending(int col) const
{
    return hasColumnSetting(col) && m_columns[static_cast<std::size_t>(col)].descending;
}

void GridData::setCurrent(int col, int row)
{
    m_currentCol = col;
    m_currentRow = row;
    clampCurrent();
}

void GridData::clampCurrent()
{
    m_currentCol = std::clamp(m_currentCol, 0, m_colCount - 1);
    m_currentRow = std::clamp(m_currentRow, m_fixedRows, rowCount() - 1);
}

void GridData::clearRows()
{
    for (int row = m_fixedRows; row < rowCount(); ++row)
        std::fill(m_rows[static_cast<std::size_t>(row)].begin(), m_rows[static_cast<std::size_t>(row)].end(),
                  std::string());
    for (auto &column : m_columns)
        column.descending = false;
}

void GridData::deleteRow(int row)
{
    if (!isBodyRow(row))
        throw std::out_of_range("Incorrect Row Deleted");
    if (bodyRowCount() == 1) {
        clearRows();
        return;
    }
    m_rows.erase(m_rows.begin() + row);
    clampCurrent();
}

bool GridData::sortByColumn(int col)
{
    if (col < 0 || col >= m_colCount || col > m_maxCol)
        return false;
    const int first = m_fixedRows;
    const int count = bodyRowCount();
    for (int row = first; row < rowCount(); ++row)
        for (int c = std::max(0, m_maxCol + 1); c < m_colCount; ++c)
            if (!cell(c, row).empty())
                return false;

    const bool numeric = colAlign(col) == ColAlign::Right;
    using Key = std::variant<double, std::string>;
    std::vector<Key> keys;
    keys.reserve(static_cast<std::size_t>(count));
    for (int row = first; row < rowCount(); ++row) {
        const std::string &text = cell(col, row);
        if (!numeric) {
            keys.emplace_back(GridSortKey(text));
            continue;
        }
        const std::string plain = ReplaceAll(text, ",", "");
        if (TrimBlanks(plain).empty()) {
            keys.emplace_back(kEmptyNumber);
            continue;
        }
        const auto value = ParseNumber(plain);
        if (!value)
            return false;
        keys.emplace_back(*value);
    }

    // Pairwise exchange, so that equal keys end where this order puts them every time.
    const bool descending = sortDescending(col);
    std::vector<std::size_t> order(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    for (std::size_t i = 0; i < order.size(); ++i)
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            const Key &a = keys[order[i]];
            const Key &b = keys[order[j]];
            if (descending ? a < b : b < a)
                std::swap(order[i], order[j]);
        }

    std::vector<std::vector<std::string>> sorted;
    sorted.reserve(order.size());
    for (std::size_t index : order)
        sorted.push_back(std::move(m_rows[static_cast<std::size_t>(first) + index]));
    std::move(sorted.begin(), sorted.end(), m_rows.begin() + first);

    for (auto &column : m_columns)
        column.descending = false;
    if (hasColumnSetting(col))
        m_columns[static_cast<std::size_t>(col)].descending = !descending;
    return true;
}

} // namespace medrec::common
