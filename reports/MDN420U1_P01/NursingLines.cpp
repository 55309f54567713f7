#include "NursingLines.h"

#include "DateText.h"
#include "GridData.h"
#include "Hmdrecodt.h"
#include "TextHelpers.h"

#include <algorithm>
#include <charconv>
#include <chrono>

namespace medrec::reports {

namespace {

// Where each kind keeps a note's fields in "MD_RECOD_L3".
struct NoteFields
{
    int date, time, text, nurse, extra;
};

NoteFields noteFields(NursingKind kind)
{
    return kind == NursingKind::Ward ? NoteFields{8, 11, 12, 13, 14} : NoteFields{5, 8, 9, 10, 11};
}

std::string trimmed(std::string_view text)
{
    return std::string(common::TrimBlanks(text));
}

std::string noteText(NursingKind kind, std::string_view text)
{
    // The emergency form's labels took "&" for an accelerator mark; its notes print the
    // full-width sign instead, and the ward record's keep theirs.
    return kind == NursingKind::Emergency ? common::ReplaceAll(common::TrimBlanks(text), "&", "＆")
                                          : trimmed(text);
}

std::optional<int> wholeNumber(std::string_view text)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::vector<NoteEntry> NoteEntries(NursingKind kind, const services::Hmdrecodt &data, int rows)
{
    const NoteFields f = noteFields(kind);
    auto at = [&data](int field, int row) {
        const auto &values = data.data(field);
        const auto index = static_cast<std::size_t>(row);
        return index < values.size() ? values[index] : std::string();
    };
    std::vector<NoteEntry> notes;
    for (int row = 0; row < rows; ++row)
        notes.push_back(
            {at(f.date, row), at(f.time, row), at(f.text, row), at(f.nurse, row), at(f.extra, row)});
    return notes;
}

std::string DayHeaderText(std::string_view entryDate, std::optional<common::Date> admission)
{
    const std::string shown = common::FmtDate(entryDate);
    const auto date = common::DateFromDigits(common::UnFmtDate(common::TrimBlanks(shown)));
    if (!date)
        return shown;
    std::string text = shown + "(" + common::WeekdayName("HF", *date) + ")";
    if (admission) {
        const auto days = (std::chrono::sys_days{*date} - std::chrono::sys_days{*admission}).count() + 1;
        text += "   HD : " + std::to_string(days) + "일";
    }
    return text;
}

std::optional<common::Date> VisitAdmission(std::string_view visitDateTime)
{
    return common::DateFromDigits(common::UnFmtDate(visitDateTime));
}

std::optional<common::Date> InpatientAdmission(std::string_view code3)
{
    const auto text = common::TrimBlanks(code3);
    return text.empty() ? std::nullopt : common::DateFromDigits(text);
}

void StagePrintLines(common::GridData &table, NursingKind kind, const std::vector<NoteEntry> &notes,
                     std::optional<common::Date> admission)
{
    using namespace nursing_col;
    std::vector<std::vector<std::string>> lines;
    const std::string *previousDate = nullptr;
    for (const NoteEntry &note : notes) {
        if (!previousDate || *previousDate != note.date) {
            std::vector<std::string> day(static_cast<std::size_t>(kMark + 1));
            day[kText] = DayHeaderText(note.date, admission);
            day[kMark] = kDayMark;
            lines.push_back(std::move(day));
        }
        std::vector<std::string> line(static_cast<std::size_t>(kMark + 1));
        line[kText] = noteText(kind, note.text);
        line[kNurse] = trimmed(note.nurse);
        line[kDate] = note.date;
        line[kTime] = note.time;
        line[kMark] = trimmed(note.extra);
        lines.push_back(std::move(line));
        previousDate = &note.date;
    }
    if (table.colCount() <= kMark)
        table.setColCount(kMark + 1);
    table.clearRows();
    table.setRowCount(table.fixedRows() + std::max<int>(1, static_cast<int>(lines.size())));
    int row = table.fixedRows();
    for (auto &line : lines)
        table.setRowCells(row++, std::move(line));
}

bool PrintsBold(std::string_view time)
{
    const std::string text = trimmed(time);
    const std::string key = text.substr(0, std::min<std::size_t>(2, text.size())) +
                            (text.size() > 3 ? text.substr(3, 2) : std::string());
    const int value = wholeNumber(key).value_or(0);
    return !(value > 700 && value < 2200);
}

} // namespace medrec::reports
