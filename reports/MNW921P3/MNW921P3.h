#pragma once

// The general nursing information sheet: the admission assessment of one admission
// ("MD_ADINF_S2"), with the patient ("MD_PATBA_L2") and the writer's name ("MD_INSAM_L1"),
// printed on its two pages as one document.

#include "RecordKinds.h"

#include <vector>

namespace medrec::reports {

BlockResult PrintGeneralNursingSheet(RecordPrint &print);
const std::vector<FormBindings> &GeneralNursingSheetForms();

} // namespace medrec::reports
