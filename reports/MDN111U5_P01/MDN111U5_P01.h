#pragma once

// The obstetrics department's history, delivery and discharge record ("MD_OBDEP_L1"): one row
// printed on two pages, history and examination, then the delivery and the discharge, as one
// document.

#include "RecordKinds.h"

#include <vector>

namespace medrec::reports {

BlockResult PrintObstetricRecord(RecordPrint &print);
const std::vector<FormBindings> &ObstetricRecordForms();

} // namespace medrec::reports
