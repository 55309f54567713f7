#pragma once

// The hemodialysis record "투  석  기  록  지": the treatment record with the day's
// medications and treatments (report qr_1), then the dialysis nursing notes (report qr_2),
// which print only when there are notes.

#include "RecordKinds.h"

#include "GridData.h"

namespace medrec::services {
class FieldResults;
}

namespace medrec::reports {

class RecordContent;

BlockResult PrintHemodialysisRecord(RecordPrint &print);
const std::vector<FormBindings> &HemodialysisRecordForms();

// Stages the first `medicationRows` medications, then those of the first `treatmentRows`
// treatments that were carried in ("S_CODE11" "IN"), into `list` after its title row, numbered
// from 1: order date and time, order text, ordering doctor, time and person carrying it out.
// Returns the number of rows staged.
int StageOrders(const services::FieldResults &medications, int medicationRows,
                const services::FieldResults &treatments, int treatmentRows, common::GridData &list);

// Stages the notes into `list` after its title row, numbered from 1: the record date and time
// as YY-MM-DD hh:mm, the note, the recorder. Returns the number of rows staged.
int StageNotes(const RecordContent &notes, common::GridData &list);

// The patient class of record cell 5 as the form prints it: "O" 외래, "I" 입원, "E" 응급; any
// other code as delivered.
std::string PatientClassText(const std::string &code);

} // namespace medrec::reports
