#pragma once

// The body-measurement sheet "체 중 측 정 결 과" (record kind "MDIOCHKT_WE", form
// TMDF180F1_P01): the measurements run down the left half of the table, then down the right.

#include "RecordKinds.h"

#include "GridData.h"

namespace medrec::reports {

BlockResult PrintBodyMeasurements(PrintContext &context);
std::vector<FormBindings> BodyMeasurementBindings();

// The table lines of the staged entries (one per body row, `columns` cells each): line k
// holds entry k in columns 0 .. columns-1 and entry k + half in the next `columns` (empty
// past the last entry), half being the entries divided by two, rounded up.
common::GridData SideBySide(const common::GridData &entries, int columns);

} // namespace medrec::reports
