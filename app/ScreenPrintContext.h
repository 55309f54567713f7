#pragma once

// The main screen's state as a print block sees it (plain values), and what a print run
// hands back to the screen: the scratch tables into the hidden grids, the summary labels.

#include "MDG300U1Controls.h"
#include "PrintContext.h"
#include "PrintJob.h"

namespace medrec::app {

reports::PrintContext CapturePrintContext(const MDG300Controls &ui);
// The hidden grids keep what the last run staged.
void KeepScratchTables(const MDG300Controls &ui, const reports::ScratchTables &tables);
// The six labels and the caption over lb_meddate (the screen's own unless the summary names
// one): every print run starts from the empty summary, so no caption outlives its print.
void ShowPrintedSummary(const MDG300Controls &ui, const reports::PrintedSummary &summary);

} // namespace medrec::app
