#pragma once

// The operation record ("MDOPRECT"): one "MD_RECOD_L3" row printed on the form
// TMDS510F1_P01.

#include "RecordKinds.h"

#include "report_engine/Report.h"

#include <string>

namespace medrec::reports {

// The form, freshly created for one print: the creation hook empties the "√" marks.
class TMDS510F1_P01
{
public:
    TMDS510F1_P01();
    report::Report qr_01;
};

// The memo text of the findings (F) and the procedure (P), CR LF as written.
std::string OperationMemoText(const std::string &findings, const std::string &procedure);

std::optional<HistoryValues> PrintOperationRecord(PrintContext &context);

} // namespace medrec::reports
