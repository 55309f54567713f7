#pragma once

// The psychiatric nursing information sheet: the psychiatric admission assessment of one
// admission ("MD_PYINF_S2", whose row names its writer), with its mental-state examination,
// printed on its two pages as one document.

#include "RecordKinds.h"

#include <vector>

namespace medrec::reports {

BlockResult PrintPsychiatricNursingSheet(RecordPrint &print);
const std::vector<FormBindings> &PsychiatricNursingSheetForms();

} // namespace medrec::reports
