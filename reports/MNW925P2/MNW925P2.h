#pragma once

// The rehabilitation nursing information sheet: the admission assessment of a patient of the
// rehabilitation ward ("MD_REINF_S1"), printed on its two pages as one document.

#include "RecordKinds.h"

#include <vector>

namespace medrec::reports {

BlockResult PrintRehabNursingSheet(RecordPrint &print);
const std::vector<FormBindings> &RehabNursingSheetForms();

} // namespace medrec::reports
