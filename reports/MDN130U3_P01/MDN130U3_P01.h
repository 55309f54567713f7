#pragma once

// The emergency nursing information sheet: the nursing information of one emergency-room
// visit ("MD_ERINF_S2") with its triage ("MD_NKTAS_L1") and pregnancy ("MD_NPREG_S1"), its
// codes named through the hospital's code lists, printed as one long sectioned text.

#include "RecordKinds.h"

#include <vector>

namespace medrec::reports {

BlockResult PrintEmergencyNursingSheet(RecordPrint &print);
const std::vector<FormBindings> &EmergencyNursingSheetForms();

} // namespace medrec::reports
