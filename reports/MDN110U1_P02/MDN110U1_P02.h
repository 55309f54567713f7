#pragma once

// The physician order and medication record "의사지시 및 투약처치 기록" of one order date: one
// detail record per kept order, its order line above a rule and, below it, what was done
// about it (OrderLines.h).

#include "RecordKinds.h"

namespace medrec::reports {

BlockResult PrintMedicationRecord(RecordPrint &print);
const std::vector<FormBindings> &MedicationRecordForms();

} // namespace medrec::reports
