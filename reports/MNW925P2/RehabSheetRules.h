#pragma once

// The rehabilitation nursing sheet's own rules. Its codes read "as a number" never stop the
// print: a code that is not a whole number matches no code, as a blank one does (a label
// shows its text for no code, a square is left as it is).

#include "Bindings.h"

#include <cstddef>

namespace medrec::reports::rehab_sheet {

// The whole value is the code; one that is not a whole number reads as blank.
Source number(Source source);
// Characters 1 .. count are each a one-digit code; one that is not a digit reads as blank.
// The rest of the value is left as it is.
Source digits(Source source, std::size_t count);

Binding occupation(Source value);    // qrl_work: the first character; "-" and 0 nothing, 8 the text after it
Binding education(Source value);     // qrl_adu, 1 .. 5
Binding nationality(Source value);   // qrl_Nation: "대한민국" for the code 1, blanks around it allowed
Binding movement(Source value);      // qrl_Motion1 .. 6 from characters 1 .. 6
Binding dailyActivities(Source value); // qrl_Daymot1, 5 .. 10 from characters 1, 5 .. 10
Binding wardFacilities(Source value);  // qrs_edu2 leading qrs_edu21 .. 30 and qrs_edu311 when it starts "Y"
Binding hospitalFacilities(Source value); // qrs_edu3 leading qrs_edu31 .. 36 when it starts "Y"

} // namespace medrec::reports::rehab_sheet
