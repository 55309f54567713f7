#pragma once

// The emergency nursing information sheet's report text, the whole content of its one memo:
// the working values (zone, visit and disease types, accident, consciousness, the ●/○
// markers, the names of codes looked up in the print's code/name lists) composed into its
// sections, the discharge section chosen by the discharge type among eight.

#include "FieldValues.h"
#include "NoteSections.h"
#include "PrintContext.h"

#include <string>
#include <utility>
#include <vector>

namespace medrec::reports::er_sheet {

// The fields that hold the codes the sheet leaves to the site's lists without naming a
// field for them: the means of arrival (group "216"), the admission route (group "215") and
// the traffic-accident officer (group "212").
inline constexpr const char *kArrivalMeans = "S_STRING34";
inline constexpr const char *kAdmissionRoute = "S_STRING35";
inline constexpr const char *kTrafficOfficer = "S_STRING36";

// The fields of the sheet's row read as numbers, each with what it holds: a value that is not
// a number names its field when the print stops.
const std::vector<std::pair<std::string, std::string>> &NumberFields();

// `values` holds the sheet's service row (unprefixed) and the record cells; `codes` the lists
// filled for this print; `pregnant` says whether a pregnancy is registered for the visit.
// Codes are read with CodeToInt: a value that is not a number throws CodeConversionError.
SectionText ReportText(const FieldValues &values, const CodeNameLists &codes, bool pregnant);

// The discharge section alone, by "S_NAME5": empty for "3", "5" and any type not listed.
std::string DischargeSection(const FieldValues &values, const CodeNameLists &codes);

} // namespace medrec::reports::er_sheet
