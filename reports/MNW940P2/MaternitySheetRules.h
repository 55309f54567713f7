#pragma once

// The maternity nursing sheet's own rules, as bindings: what no other sheet prints, or prints
// from fields laid out as this sheet lays them out.

#include "Bindings.h"

#include <string>

namespace medrec::reports::maternity_sheet {

// "4.입원시 간호 및 교육내용" from one 33-character string: each character drives its square by
// the flag rule, except the three section squares (characters 2, 13 and 20), black only for
// "1" and white otherwise, and character 24, which drives none. A shorter string leaves the
// squares of the missing characters white.
Binding admissionTeaching(const std::string &field);

// An obstetric row of "무" and "유" squares (prefix1, prefix2: characters 1 and 2 by the flag
// rule) and the text after them (characters 3 to the end: when, or how many).
Binding absentPresentWith(const std::string &prefix, const std::string &label, const std::string &field);

} // namespace medrec::reports::maternity_sheet
