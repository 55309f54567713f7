#pragma once

// The newborn nursing information sheet: the admission assessment of a newborn ("MD_NBINF_S1"
// through HmdAdinfd), its second page only for admissions from 14 July 2011, both pages one
// document.

#include "RecordKinds.h"

#include <string>
#include <vector>

namespace medrec::reports {

BlockResult PrintNewbornNursingSheet(RecordPrint &print);
const std::vector<FormBindings> &NewbornNursingSheetForms();

// Whether an admission of that date (YYYYMMDD) prints the second page; throws
// CodeConversionError, with the conversion message, for a date that is not a whole number.
bool NewbornSheetHasSecondPage(const std::string &admDate);

} // namespace medrec::reports
