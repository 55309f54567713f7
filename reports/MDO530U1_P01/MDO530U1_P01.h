#pragma once

// The admission note: one row of the record's content on the physicians' note layout, with
// its care plan, five treatment goals and discharge plan.

#include "RecordKinds.h"

namespace medrec::reports {

// The note's memo text from the block's values.
std::string AdmissionNoteText(const FieldValues &values);

BlockResult PrintAdmissionNote(RecordPrint &print);
const std::vector<FormBindings> &AdmissionNoteForms();

} // namespace medrec::reports
