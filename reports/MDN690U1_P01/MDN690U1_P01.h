#pragma once

// The transfusion record: every row of the record's content staged in the scratch list, one
// detail record per unit of blood, each as tall as its observations need, under the page
// header on every page of the landscape form.

#include "RecordKinds.h"

#include <string>
#include <vector>

namespace medrec::reports {

class RecordContent;

// The list has this many columns: more than the screen's list holds for other kinds.
inline constexpr int kTransfusionColumns = 60;

// Staged row `row` (0-based) of the content: column 0 its number from 1, the others the
// fields the list takes, some flattened onto one line.
std::vector<std::string> TransfusionRow(const RecordContent &content, int row);

// The transfusers' box: the first nurse, then "/" and the second when there is one.
std::string Transfusers(const std::string &first, const std::string &second);

BlockResult PrintTransfusionRecord(RecordPrint &print);
const std::vector<FormBindings> &TransfusionRecordForms();

} // namespace medrec::reports
