#pragma once

// The print-history rows of one print, written in one transaction ("MD_RECOD_U1").

#include "PrintJob.h"

#include <string>
#include <vector>

namespace medrec::reports {

// 1 when every row was written, -1 when the call or its commit failed (the call layer
// holds the text).
int SavePrintHistory(const std::vector<HistoryRow> &rows, const std::string &kindCode);

} // namespace medrec::reports
