#pragma once

// The vital-sign sheet "VS 측정결과" (record kind "MDVITALT", form TMDF120F1_P01): one table
// line per measurement of "MD_RECOD_L3", ten columns as delivered.

#include "RecordKinds.h"

namespace medrec::reports {

BlockResult PrintVitalSigns(PrintContext &context);
std::vector<FormBindings> VitalSignBindings();

} // namespace medrec::reports
