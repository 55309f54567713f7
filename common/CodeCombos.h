#pragma once

// Code/name combo pairs: a code combo and a name combo filled in parallel from a code
// service, item i of both describing the same entry and item 0 of both being empty. Blocks
// of the print run look a code up by its index in the code combo.
//
// On a failed call the failure is shown with ShowTuxMessageActive; on a failed call or no
// rows the combos keep what they held. The hourglass shows while the service runs.

#include <string>

class QComboBox;

namespace medrec::common {

// Departments: "MD_DEPTC_L1" kind "1", qualifier "EB1"; codes "S_CODE1", names "S_CODE2".
void FillDeptCombo(QComboBox *codeCombo, QComboBox *nameCombo);
// Wards: "MD_DEPTC_L1" kind "2", no qualifier.
void FillWardCombo(QComboBox *codeCombo, QComboBox *nameCombo);
// The entries of a common-code group: "MD_MCOMC_L1" ("S", group, "000", empty);
// codes "S_STRING3", names "S_STRING6".
void FillCommonCodeCombo(const std::string &groupCode, QComboBox *codeCombo, QComboBox *nameCombo);

// The name paired with code: the name combo's item at the code's index in the code combo;
// empty text when the code is not listed.
std::string CodeToName(const QComboBox *codeCombo, const QComboBox *nameCombo, const std::string &code);

} // namespace medrec::common
