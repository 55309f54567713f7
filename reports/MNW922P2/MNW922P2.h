#pragma once

// The child nursing information sheet: the paediatric admission assessment of one admission
// ("MD_PDINF_S2", whose row names its writer), printed on its two pages as one document.

#include "RecordKinds.h"

#include <vector>

namespace medrec::reports {

BlockResult PrintChildNursingSheet(RecordPrint &print);
const std::vector<FormBindings> &ChildNursingSheetForms();

} // namespace medrec::reports
