#pragma once

// The sedation treatment record ("진정치료 기록지"): page 1 with the evaluation before
// sedation and the sedatives given, page 2 with the observations during and after the
// procedure, the recovery score and the discharge teaching, printed as one document.

#include "RecordKinds.h"

#include <string>

namespace medrec::reports {

// The drug and the route of a medication row by their codes; empty for a code the record
// does not know.
std::string SedativeName(int code);
std::string SedativeRoute(int code);

BlockResult PrintSedationRecord(RecordPrint &print);
const std::vector<FormBindings> &SedationRecordForms();

} // namespace medrec::reports
