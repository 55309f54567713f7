#include "StagedRows.h"

#include "report_engine/Report.h"

namespace medrec::reports {

StagedRows::StagedRows(common::GridData table) : m_table(std::move(table)) { reset(); }

bool StagedRows::next()
{
    if (m_row + 1 >= m_table.rowCount())
        return false;
    ++m_row;
    return true;
}

void FeedRows(report::Report &report, common::GridData table, RowFill fill)
{
    auto rows = std::make_shared<StagedRows>(std::move(table));
    report.setBeforePrint([rows](report::Report &) { rows->reset(); });
    report.setNeedData([rows, fill = std::move(fill)](report::Report &r) {
        if (!rows->next())
            return false;
        fill(r, *rows);
        return true;
    });
}

void FeedLines(report::Report &report, common::GridData table, RowWrap wrap, LineFill fill)
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
    report.setBeforePrint([state](report::Report &) {
        state->rows.reset();
        state->lines.clear();
        state->line = 0;
        state->open = false;
    });
    report.setNeedData([state, wrap = std::move(wrap), fill = std::move(fill)](report::Report &r) {
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
