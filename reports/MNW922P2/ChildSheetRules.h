#pragma once

// The child nursing sheet's own rules, as bindings that fill the components of this sheet's
// forms from the fields they are given. The psychiatric sheet prints its appetite, weight
// change and dysphagia, its teaching section and its discharge plan with the same rows and
// components, so it takes them from here. Codes read "as a number" throw CodeConversionError
// for a text that is not a whole number.

#include "Bindings.h"

namespace medrec::reports::child_sheet {

// Labels from the child sheet's code tables.
Binding nationality(Source korean, Source country); // qrl_Nation: "대한민국" when the trimmed flag is "1"
Binding parentOccupation(std::string label, Source value); // the first two characters; no written-out code
Binding admissionRoute(Source value);  // qrl_admcou: "외래", "응급실", or for 3 the note alone
Binding admissionMethod(Source value); // qrl_admmeth: the method alone, or for 4 the note alone
Binding consciousness(Source value);   // qrl_condst, compared as text
Binding communication(Source value);   // qrl_concom, compared as text
Binding activity(Source value);        // qrl_Activest

// Square groups.
Binding malformation(Source value); // qrs_gihyung1 "무", qrs_gihyung2 "유" by the first character
// A vaccination given once: "Y" fills `given`, anything else (blank and "y" included) `notGiven`.
Binding vaccination(std::string notGiven, std::string given, Source value);

// Printed as words on the child and psychiatric sheets.
Binding appetite(Source value);     // qrl_Appetite
Binding weightChange(Source value); // qrl_Wetchg
Binding dysphagia(Source value);    // qrl_Dysphagia

// "4.입원시 간호 및 교육내용": each teaching item its own field, whose first character is
// its square by the flag rule; the two facility tours carry their sub-items after it.
struct TeachingFields
{
    Source preparation;        // qrs_edu1
    Source wardFacilities;     // qrs_edu2, then qrs_edu21 .. qrs_edu30 and qrs_edu311
    Source hospitalFacilities; // qrs_edu3, then qrs_edu31 .. qrs_edu36
    Source fireSafety;         // qrs_edu4
    Source valuables;          // qrs_edu5
    Source falls;              // qrs_edu6
    Source visiting;           // qrs_edu7
    Source treatment;          // qrs_edu8
    Source patientSafety;      // qrs_Safeedu1 .. qrs_Safeedu5
    Source other;              // memo qrme_Eduoth, whole
};
BindingTable teaching(const TeachingFields &fields);

// "5.초기퇴원계획".
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

} // namespace medrec::reports::child_sheet
