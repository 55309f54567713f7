#pragma once

// The print lines of the nursing records: the notes of one record as a dated journal
// (DatedJournal.h), their day headers counting the hospital day.

#include "Clock.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::common {
class GridData;
}
namespace medrec::reports {
class RecordContent;
}

namespace medrec::reports {

enum class NursingKind { Ward, Emergency };

// One note as "MD_RECOD_L3" delivers it.
struct NoteEntry
{
    std::string date, time, text, nurse, extra;
};

// The notes of a record's content rows, from the kind's fields.
std::vector<NoteEntry> NoteEntries(NursingKind kind, const RecordContent &content);

// "2019-03-04(월요일)   HD : 1일", the hospital day counting the admission day as day 1;
// "2019-03-04(월요일)" without an admission date; the bare YYYY-MM-DD when the entry date
// is not a calendar date.
std::string DayHeaderText(std::string_view entryDate, std::optional<common::Date> admission);

// The admission date of the ward record's hospital days: the visit's "YYYY-MM-DD HH:NN".
std::optional<common::Date> VisitAdmission(std::string_view visitDateTime);
// The emergency record's: "S_CODE3" of the inpatient header, none when it is blank.
std::optional<common::Date> InpatientAdmission(std::string_view code3);

// Stages the notes as journal lines (DatedJournal.h), text, nurse and the kind's field
// trimmed, date and time as delivered. The emergency record's notes print a full-width "＆"
// for every "&".
void StagePrintLines(common::GridData &table, NursingKind kind, const std::vector<NoteEntry> &notes,
                     std::optional<common::Date> admission);

} // namespace medrec::reports
