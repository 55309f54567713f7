#pragma once

// The intake and output record "섭취 및 배설량기록": per day a block of the three nursing
// shifts and the day's total.

#include "RecordKinds.h"

#include "GridData.h"

#include <optional>
#include <string>

namespace medrec::services {
class FieldResults;
}

namespace medrec::reports {

BlockResult PrintIntakeOutput(RecordPrint &print);
const std::vector<FormBindings> &IntakeOutputForms();

// Stages the first `rows` service rows into `list` as day blocks of four lines (shifts 1, 2,
// 3 and the total) after its title row, totals computed as exact decimals and zeros tidied.
// A day that comes back after another gets a block of its own; a later entry of a shift
// replaces the earlier one. Returns why nothing may print instead: a shift other than 1 .. 3
// or a cell that is not a number, named by its day and column.
std::optional<std::string> StageIntakeOutput(const services::FieldResults &results, int rows,
                                             common::GridData &list);

// The tidied text of a printed cell: "0" and "0(0)" become empty, "0(3)" becomes "(3)".
std::string TidyZero(const std::string &cell);

} // namespace medrec::reports
