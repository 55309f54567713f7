#pragma once

// The newborn delivery record ("MD_BDINF_S1"): the mother, the delivery and the newborn with
// both Apgar scores, one row on one page. Yes/no items are "∨" marks in small boxes.

#include "RecordKinds.h"

#include <string>
#include <vector>

namespace medrec::reports {

// The delivery type with its suffix: " / S" after a caesarean ("P-C", "R-C"), " BAC" after
// "V", " / D" after anything else; the type itself as delivered.
std::string DeliveryTypeText(const std::string &type);

BlockResult PrintDeliveryRecord(RecordPrint &print);
const std::vector<FormBindings> &DeliveryRecordForms();

} // namespace medrec::reports
