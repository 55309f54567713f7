#pragma once

// The operation record ("MDOPRECT"): one "MD_RECOD_L3" row printed on the form
// TMDS510F1_P01.

#include "NoteSections.h"
#include "RecordKinds.h"

#include <string>

namespace medrec::reports {

// The memo text of the findings (F) and the procedure (P), CR LF as written.
std::string OperationMemoText(const std::string &findings, const std::string &procedure);
// The same with its heading lines.
SectionText OperationMemoSections(const std::string &findings, const std::string &procedure);

BlockResult PrintOperationRecord(PrintContext &context);
std::vector<FormBindings> OperationRecordBindings();

} // namespace medrec::reports
