#include "NursingLines.h"

#include "DatedJournal.h"
#include "RecordContent.h"

#include "DateText.h"
#include "TextHelpers.h"

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

std::string noteText(NursingKind kind, std::string_view text)
{
    // The emergency form's labels took "&" for an accelerator mark; its notes print the
    // full-width sign instead, and the ward record's keep theirs.
    return kind == NursingKind::Emergency ? common::ReplaceAll(common::TrimBlanks(text), "&", "＆")
                                          : common::Trimmed(text);
}

} // namespace

std::vector<NoteEntry> NoteEntries(NursingKind kind, const RecordContent &content)
{
    const NoteFields f = noteFields(kind);
    std::vector<NoteEntry> notes;
    for (int row = 0; row < content.rows(); ++row)
        notes.push_back({content.value(f.date, row), content.value(f.time, row), content.value(f.text, row),
                         content.value(f.nurse, row), content.value(f.extra, row)});
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
    std::vector<JournalLine> lines;
    for (const NoteEntry &note : notes)
        lines.push_back(JournalEntry(note.date, note.time, noteText(kind, note.text), common::Trimmed(note.nurse),
                                     common::Trimmed(note.extra)));
    StageJournal(table, std::move(lines),
                 [admission](const std::string &date) { return DayHeaderText(date, admission); });
}

} // namespace medrec::reports
