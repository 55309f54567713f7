#include "DatedJournal.h"

#include "ContextValues.h"
#include "StagedRows.h"

#include "DateText.h"
#include "GridData.h"
#include "TextHelpers.h"

#include "report_engine/Report.h"

#include <algorithm>

namespace medrec::reports {

namespace {

using namespace journal_col;

// A day header writes only its text and the mark; an entry always has its date column.
bool isDayHeader(const StagedRows &rows) { return rows.cell(kMark) == kDayMark && rows.cell(kDate).empty(); }

const char *flag(bool on) { return on ? "Y" : ""; }

} // namespace

JournalLine JournalEntry(std::string date, std::string time, std::string text, std::string signer,
                         std::string mark)
{
    JournalLine line(kColumns);
    line[kText] = std::move(text);
    line[kSigner] = std::move(signer);
    line[kDate] = std::move(date);
    line[kTime] = std::move(time);
    line[kMark] = std::move(mark);
    return line;
}

void StageJournal(common::GridData &table, std::vector<JournalLine> entries,
                  const std::function<std::string(const std::string &date)> &dayHeader)
{
    std::vector<JournalLine> lines;
    const std::string *previousDate = nullptr;
    for (JournalLine &entry : entries) {
        entry.resize(std::max<std::size_t>(entry.size(), kColumns));
        if (!previousDate || *previousDate != entry[kDate]) {
            JournalLine day(kColumns);
            day[kText] = dayHeader(entry[kDate]);
            day[kMark] = kDayMark;
            lines.push_back(std::move(day));
        }
        lines.push_back(std::move(entry));
        previousDate = &lines.back()[kDate];
    }
    std::size_t columns = kColumns;
    for (const JournalLine &line : lines)
        columns = std::max(columns, line.size());
    if (table.colCount() < static_cast<int>(columns))
        table.setColCount(static_cast<int>(columns));
    table.clearRows();
    table.setRowCount(table.fixedRows() + std::max<int>(1, static_cast<int>(lines.size())));
    int row = table.fixedRows();
    for (auto &line : lines)
        table.setRowCells(row++, std::move(line));
}

bool PrintsBold(std::string_view time)
{
    const std::string text = common::Trimmed(time);
    const std::string key = text.substr(0, std::min<std::size_t>(2, text.size())) +
                            (text.size() > 3 ? text.substr(3, 2) : std::string());
    const int value = std::all_of(key.begin(), key.end(), [](unsigned char c) { return c >= '0' && c <= '9'; })
                          ? common::WholeNumber(key).value_or(0)
                          : 0;
    return !(value > 700 && value < 2200);
}

BindingTable JournalBindings(const JournalParts &parts)
{
    std::vector<std::string> entryParts = {parts.date, parts.time, parts.text, parts.signer};
    entryParts.insert(entryParts.end(), parts.columnRules.begin(), parts.columnRules.end());
    std::vector<std::string> components = entryParts;
    components.push_back(parts.rowRule);
    if (!parts.dayText.empty())
        components.push_back(parts.dayText);
    return {bind::custom(
        std::move(components),
        {value::kLineText, value::kLineFirst, value::kLineLast, value::kLineDayHeader, value::col(kText),
         value::col(kSigner), value::col(kDate), value::col(kTime)},
        [parts, entryParts](engine::Report &r, const FieldValues &v) {
            const bool day = v[value::kLineDayHeader] == "Y";
            const bool first = v[value::kLineFirst] == "Y";
            const bool last = v[value::kLineLast] == "Y";
            r.detail().setColor(day ? engine::Color::silver() : engine::Color::white());
            for (const std::string &part : entryParts)
                r.component(part).setEnabled(!day);
            r.component(parts.rowRule).setEnabled(last);
            if (!parts.dayText.empty()) {
                r.component(parts.dayText).setEnabled(day);
                if (day)
                    r.label(parts.dayText).setCaption(v[value::col(kText)]);
            }
            if (day)
                return;
            const std::string &time = v[value::col(kTime)];
            r.label(parts.date).setCaption(first ? common::FmtDate(common::Trimmed(v[value::col(kDate)])) : "");
            r.label(parts.time).setCaption(first ? common::Trimmed(time) : "");
            engine::Label &text = r.label(parts.text);
            text.setBold(PrintsBold(time));
            text.setCaption(v[value::kLineText]);
            r.label(parts.signer).setCaption(last ? common::Trimmed(v[value::col(kSigner)]) : "");
        })};
}

void FeedJournal(engine::Report &report, common::GridData table, const BindingTable &lineTable,
                 const std::string &textLabel)
{
    const auto wrap = [textLabel](engine::Report &r, const StagedRows &rows) -> std::vector<std::string> {
        if (isDayHeader(rows))
            return {};
        r.label(textLabel).setBold(PrintsBold(rows.cell(kTime)));
        return r.wrapLines(textLabel, rows.cell(kText));
    };
    const auto fill = [lineTable](engine::Report &r, const LineStep &step) {
        FieldValues values = RowValues(step.rows);
        values.set(value::kLineText, step.text);
        values.set(value::kLineFirst, flag(step.first()));
        values.set(value::kLineLast, flag(step.last()));
        values.set(value::kLineDayHeader, flag(isDayHeader(step.rows)));
        ApplyBindings(r, lineTable, values);
    };
    FeedLines(report, std::move(table), wrap, fill);
}

} // namespace medrec::reports
