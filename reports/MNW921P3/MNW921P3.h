#pragma once

// The general nursing information sheet ("MDADINFT"): the admission assessment of one
// admission ("MD_ADINF_S2"), with the patient ("MD_PATBA_L2") and the writer's name
// ("MD_INSAM_L1"), printed on the two pages QuickRep1 and QuickRep2 of TMNW921B3 as one
// document.

#include "RecordKinds.h"

#include <vector>

namespace medrec::reports {

BlockResult PrintGeneralNursingSheet(PrintContext &context);
std::vector<FormBindings> GeneralNursingSheetBindings();

} // namespace medrec::reports
