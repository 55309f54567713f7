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
Binding nationality(Source value);   // qrl_Nation: "대한민국" for the code 1
Binding consciousness(Source value); // qrl_condst, compared as text
Binding communication(Source value); // qrl_concom, compared as text
Binding appetite(Source value);      // qrl_Appetite
Binding weightChange(Source value);  // qrl_Wetchg
Binding dysphagia(Source value);     // qrl_Dysphagia
Binding movement(Source value);      // qrl_Motion1 .. 6 from characters 1 .. 6
Binding dailyActivities(Source value); // qrl_Daymot1, 5 .. 10 from characters 1, 5 .. 10
Binding wardFacilities(Source value);  // qrs_edu2 leading qrs_edu21 .. 30 and qrs_edu311 when it starts "Y"
Binding hospitalFacilities(Source value); // qrs_edu3 leading qrs_edu31 .. 36 when it starts "Y"

// The early discharge plan, with the rows and squares the child and psychiatric sheets have.
struct DischargeFields
{
    Source livesWith;  // qrs_Outedu11/12, as a number
    Source carer;      // qrs_Outedu21/22, as a number
    Source place;      // qrs_Outedu31 .. 34 from "1" .. "4" as text; any other value fills none
    Source placeOther; // qrl_Outedu3oth, as delivered
    Source contact;    // qrs_Outedu41/42 from "1" / "2" as text
    Source target;     // qrs_Outedu51 .. 53 from "0" / "1" / "2" as text; empty is the patient
};
BindingTable dischargePlan(const DischargeFields &fields);

} // namespace medrec::reports::rehab_sheet
