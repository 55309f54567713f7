#pragma once

// The progress note ("MDPGNOTT"): every note row of "MD_RECOD_L3" printed on TMDP270F1_P01,
// one detail record per wrapped line, a grey bar before each day.

#include "RecordKinds.h"

#include "GridData.h"

namespace medrec::reports {

class FieldValues;

// The staged rows: a date row (column 1 the date, column 11 "DATE") before the first note
// and before every note whose date differs from the note before it, then the note's row.
void StageProgressNotes(const std::vector<FieldValues> &notes, common::GridData &table);

// A note timed after 07:00 and before 22:00 prints regular; night notes, and notes without a
// time, bold. `time` is HH:MM.
bool IsNightNote(const std::string &time);

BlockResult PrintProgressNote(PrintContext &context);
std::vector<FormBindings> ProgressNoteBindings();

} // namespace medrec::reports
