#pragma once

// The print lines of the nursing records: the notes of one record in the order the service
// delivers them, with a day header before every note whose date differs from the note
// before it. They are staged in the columns of the screen's print-line list (ugd_AllList).

#include "Clock.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::common {
class GridData;
}
namespace medrec::services {
class Hmdrecodt;
}

namespace medrec::reports {

enum class NursingKind { Ward, Emergency };

// Columns of a staged print line. A day header fills only the text and the mark.
namespace nursing_col {
inline constexpr int kText = 1;  // the note, or the day header's text
inline constexpr int kNurse = 2; // the signing nurse
inline constexpr int kDate = 8;  // the entry date, YYYYMMDD as delivered
inline constexpr int kTime = 9;  // the entry time, HH:MM as delivered
inline constexpr int kMark = 11; // a kind-specific field, or kDayMark on a day header
} // namespace nursing_col
inline constexpr const char *kDayMark = "DATE";

// One note as "MD_RECOD_L3" delivers it.
struct NoteEntry
{
    std::string date, time, text, nurse, extra;
};

// The notes of the first `rows` rows of a record's content, from the kind's fields.
std::vector<NoteEntry> NoteEntries(NursingKind kind, const services::Hmdrecodt &data, int rows);

// "2019-03-04(월요일)   HD : 1일", the hospital day counting the admission day as day 1;
// "2019-03-04(월요일)" without an admission date; the bare YYYY-MM-DD when the entry date
// is not a calendar date.
std::string DayHeaderText(std::string_view entryDate, std::optional<common::Date> admission);

// The admission date of the ward record's hospital days: the visit's "YYYY-MM-DD HH:NN".
std::optional<common::Date> VisitAdmission(std::string_view visitDateTime);
// The emergency record's: "S_CODE3" of the inpatient header, none when it is blank.
std::optional<common::Date> InpatientAdmission(std::string_view code3);

// Stages the print lines in the body of the table (its rows are set to fit): a day header
// before the first note and before every note whose date (as delivered) differs from the
// previous note's, then the note with its text and nurse trimmed. The emergency record's
// notes print a full-width "＆" for every "&".
void StagePrintLines(common::GridData &table, NursingKind kind, const std::vector<NoteEntry> &notes,
                     std::optional<common::Date> admission);

// A note prints bold outside the day: its time HH:MM read as the number HHMM is not between
// 0700 and 2200 (both excluded), so 22:00 to 07:00 and a time that is no such number (empty
// included) print bold, 07:01 to 21:59 regular.
bool PrintsBold(std::string_view time);

} // namespace medrec::reports
