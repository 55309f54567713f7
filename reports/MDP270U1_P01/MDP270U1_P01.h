#pragma once

// The progress note: every note row of the record's content printed on one form as a dated
// journal (DatedJournal.h), a bare grey bar before each day.

#include "RecordKinds.h"

#include "GridData.h"

namespace medrec::reports {

class FieldValues;

// The staged rows: the journal's lines, each note with its further columns (0 month-day and
// time, 3, 6, 7, 10 and 12 as the screen's print-line list holds them).
void StageProgressNotes(const std::vector<FieldValues> &notes, common::GridData &table);

BlockResult PrintProgressNote(RecordPrint &print);
const std::vector<FormBindings> &ProgressNoteForms();

} // namespace medrec::reports
