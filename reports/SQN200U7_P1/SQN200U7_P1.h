#pragma once

// The nutrition support team's reply "NST 회신 기록지": the request, the measurements and the
// subjective global assessment, the requirements against the current supply, and the team's
// texts, on one form.

#include "RecordKinds.h"

namespace medrec::reports {

BlockResult PrintNutritionSupportReply(RecordPrint &print);
const std::vector<FormBindings> &NutritionSupportReplyForms();

} // namespace medrec::reports
