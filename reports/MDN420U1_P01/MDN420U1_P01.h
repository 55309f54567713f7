#pragma once

// The nursing record ("MDNRRECT") and the emergency nursing record ("MDNERECT"): the notes of
// one visit printed on the form TMDN420F1_P01 as a dated journal, one detail band per printed
// line of a note, a silver day header before each day, night entries in bold.

#include "RecordKinds.h"

namespace medrec::common {
class GridData;
}
namespace medrec::engine {
class Report;
}

namespace medrec::reports {

BlockResult PrintNursingRecord(PrintContext &context);
BlockResult PrintEmergencyNursingRecord(PrintContext &context);
// Both kinds fill the one form with the same table.
std::vector<FormBindings> NursingRecordBindings();

// The report's need-data: one band per wrapped line of the staged print lines (the
// columns of NursingLines.h), the date and time on a note's first line, the signature and
// the closing rule on its last, a day header alone on a silver band.
void FeedNursingLines(engine::Report &report, common::GridData lines);

} // namespace medrec::reports
