#include "StagedRows.h"

#include "ContextValues.h"

#include "report_engine/Report.h"

#include <algorithm>

namespace medrec::reports {

StagedRows::StagedRows(common::GridData table, int step)
    : m_table(std::move(table)), m_step(std::max(step, 1))
{
    reset();
}

bool StagedRows::next()
{
    if (m_row + m_step >= m_table.rowCount())
        return false;
    m_row += m_step;
    return true;
}

FieldValues RowValues(const StagedRows &rows)
{
    FieldValues values;
    for (int col = 0; col < rows.table().colCount(); ++col)
        values.set(value::col(col), rows.cell(col));
    return values;
}

FieldValues BlockValues(const StagedRows &rows)
{
    FieldValues values;
    for (int offset = 0; offset < rows.step(); ++offset)
        for (int col = 0; col < rows.table().colCount(); ++col)
            values.set(value::rowCol(offset, col), rows.cell(col, offset));
    return values;
}

void FeedRows(engine::Report &report, common::GridData table, RowFill fill)
{
    FeedRowBlocks(report, std::move(table), 1, std::move(fill));
}

void FeedDetailRows(engine::Report &report, common::GridData table, const BindingTable &detail)
{
    FeedRows(report, std::move(table), [detail](engine::Report &r, const StagedRows &row) {
        ApplyBindings(r, detail, RowValues(row));
    });
}

void FeedRowBlocks(engine::Report &report, common::GridData table, int rowsPerRecord, RowFill fill)
{
    auto rows = std::make_shared<StagedRows>(std::move(table), rowsPerRecord);
    report.setBeforePrint([rows](engine::Report &) { rows->reset(); });
    report.setNeedData([rows, fill = std::move(fill)](engine::Report &r) {
        if (!rows->next())
            return false;
        fill(r, *rows);
        return true;
    });
}

void FeedDetailRows(engine::Report &report, common::GridData table, int bodyRows, const BindingTable &detail)
{
    if (bodyRows > 0) {
        table.setRowCount(table.fixedRows() + bodyRows);
        FeedDetailRows(report, std::move(table), detail);
    } else {
        report.setNeedData([](engine::Report &) { return false; });
    }
}

BindingTable ColumnTexts(const std::vector<std::string> &labels)
{
    BindingTable table;
    for (std::size_t col = 0; col < labels.size(); ++col)
        table.push_back(bind::text(labels[col], value::col(static_cast<int>(col))));
    return table;
}

common::GridData &FreshPrintLines(common::GridData &list, int bodyRows)
{
    list.setRowCount(list.fixedRows() + bodyRows);
    list.clearRows();
    return list;
}

void FeedLines(engine::Report &report, common::GridData table, RowWrap wrap, LineFill fill)
{
    struct State
    {
        explicit State(common::GridData t) : rows(std::move(t)) {}
        StagedRows rows;
        std::vector<std::string> lines;
        int line = 0;
        bool open = false;
    };
    auto state = std::make_shared<State>(std::move(table));
    report.setBeforePrint([state](engine::Report &) {
        state->rows.reset();
        state->lines.clear();
        state->line = 0;
        state->open = false;
    });
    report.setNeedData([state, wrap = std::move(wrap), fill = std::move(fill)](engine::Report &r) {
        if (!state->open) {
            if (!state->rows.next())
                return false;
            state->lines = wrap(r, state->rows);
            if (state->lines.empty())
                state->lines.emplace_back();
            state->line = 0;
            state->open = true;
        }
        const LineStep step{state->rows, state->lines[static_cast<std::size_t>(state->line)], state->line,
                            static_cast<int>(state->lines.size())};
        fill(r, step);
        if (step.last())
            state->open = false;
        else
            ++state->line;
        return true;
    });
}

} // namespace medrec::reports
