#pragma once

// The maternity nursing information sheet: the admission assessment of an obstetric admission
// ("MD_OBINF_S2") with the writer's name ("MD_INSAM_L1"), the patient from the screen's
// panels, printed on its two pages as one document.

#include "RecordKinds.h"

#include <vector>

namespace medrec::reports {

BlockResult PrintMaternityNursingSheet(RecordPrint &print);
const std::vector<FormBindings> &MaternityNursingSheetForms();

} // namespace medrec::reports
