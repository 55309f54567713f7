#pragma once

// The body-measurement sheet "체 중 측 정 결 과": the measurements run down the left half of
// the table, then down the right.

#include "RecordKinds.h"

#include "GridData.h"

namespace medrec::reports {

BlockResult PrintBodyMeasurements(RecordPrint &print);
const std::vector<FormBindings> &BodyMeasurementForms();

// The table lines of the staged entries (one per body row, `columns` cells each): line k
// holds entry k in columns 0 .. columns-1 and entry k + half in the next `columns` (empty
// past the last entry), half being the entries divided by two, rounded up.
common::GridData SideBySide(const common::GridData &entries, int columns);

} // namespace medrec::reports
