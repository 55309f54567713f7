#pragma once

// The blood-sugar sheet "BS 측정결과": one table line per day, each reading in its
// time-of-day slot.

#include "RecordKinds.h"

#include <optional>
#include <string>

namespace medrec::reports {

BlockResult PrintBloodSugar(RecordPrint &print);
const std::vector<FormBindings> &BloodSugarForms();

// The slot (1 .. 4) of a reading taken at HH:MM: up to and including "07:30", "12:00",
// "17:30" and "24:00". nullopt for a time before "00:00" (an empty one) or after "24:00".
std::optional<int> BloodSugarSlot(const std::string &time);

// A slot's cell: the value right-aligned in 10 characters, " (", the time, ")".
std::string BloodSugarCell(const std::string &value, const std::string &time);

} // namespace medrec::reports
