#pragma once

// The re-evaluation note: one row of the record's content on the physicians' note layout,
// the patient's name and birth date from the screen's panels.

#include "RecordKinds.h"

namespace medrec::reports {

// The note's memo text from the block's values.
std::string ReEvaluationNoteText(const FieldValues &values);

BlockResult PrintReEvaluationNote(RecordPrint &print);
const std::vector<FormBindings> &ReEvaluationNoteForms();

} // namespace medrec::reports
