#pragma once

// The vital-sign sheet "VS 측정결과": one table line per row of the record's content, ten
// columns as delivered.

#include "RecordKinds.h"

namespace medrec::reports {

BlockResult PrintVitalSigns(RecordPrint &print);
const std::vector<FormBindings> &VitalSignForms();

} // namespace medrec::reports
