#pragma once

// The operation record: one row of the record's content printed on one form.

#include "NoteSections.h"
#include "RecordKinds.h"

#include <string>

namespace medrec::reports {

// The memo text of the findings (F) and the procedure (P), CR LF as written.
std::string OperationMemoText(const std::string &findings, const std::string &procedure);
// The same with its heading lines.
SectionText OperationMemoSections(const std::string &findings, const std::string &procedure);

BlockResult PrintOperationRecord(RecordPrint &print);
const std::vector<FormBindings> &OperationRecordForms();

} // namespace medrec::reports
