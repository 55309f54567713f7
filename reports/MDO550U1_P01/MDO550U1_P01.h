#pragma once

// The emergency room note: one row of the record's content on the physicians' note layout,
// asked for by four key cells.

#include "RecordKinds.h"

namespace medrec::reports {

// The note's memo text from the block's values.
std::string EmergencyNoteText(const FieldValues &values);

BlockResult PrintEmergencyNote(RecordPrint &print);
const std::vector<FormBindings> &EmergencyNoteForms();

} // namespace medrec::reports
