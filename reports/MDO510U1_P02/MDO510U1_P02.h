#pragma once

// The discharge summary: one row of the record's content printed on one form, asked for by
// the admission date alone.

#include "NoteSections.h"
#include "RecordKinds.h"

#include <string>

namespace medrec::reports {

class FieldValues;

// The narrative memo (reason for admission to the points for the outpatient clinic), CR LF as
// written; the transfer items only when the manner of discharge is "3".
std::string DischargeNarrative(const FieldValues &values);
// The same with its heading lines.
SectionText DischargeNarrativeSections(const FieldValues &values);

// The confirmation caption by the date written (its first 10 characters, compared as text).
std::string ConfirmationCaption(const std::string &dateWritten);

// The fragment of the outpatient plan from its first "(" (the trimmed text when it has none).
std::string OutpatientPlanFragment(const std::string &plan);

// A coded field of the summary as a whole number: digits with an optional sign, nothing else.
// Throws std::invalid_argument naming the field for anything else, empty text included.
int DischargeCode(const std::string &text, const std::string &what);

BlockResult PrintDischargeSummary(RecordPrint &print);
const std::vector<FormBindings> &DischargeSummaryForms();

} // namespace medrec::reports
