#pragma once

// The print-history row of one print, written in one transaction ("MD_RECOD_U1").

#include "PrintJob.h"

#include <string>

namespace medrec::reports {

// 1 when the row was written, -1 when the call or its commit failed (the call layer holds
// the text).
int SavePrintHistory(const HistoryRow &row, const std::string &kindCode);

} // namespace medrec::reports
