#pragma once

// The general nursing sheet's own rules, as bindings: each fills the components of this
// sheet's forms from the field it is given, through the family's rules (NursingSheet.h) and
// this sheet's code tables. Codes read "as a number" throw CodeConversionError for a text
// that is not a whole number.

#include "Bindings.h"

namespace medrec::reports::general_sheet {

// Labels from code tables.
Binding occupation(Source value);           // qrl_work: the first two characters; 8 prints the text from the third
Binding informant(Source value);            // qrl_inf
Binding education(Source value);            // qrl_adu
Binding maritalStatus(Source status, Source children); // qrl_merr: status text, "/", the number of children
Binding religion(Source value);             // qrl_ChType
Binding nationality(Source value);          // qrl_Nation: "대한민국" when the trimmed value is that
Binding paymentAbility(Source value);       // qrl_Pay
Binding welfareCounselling(Source value);   // qrl_Bokji
Binding illnessAwareness(Source value);     // qrl_Know
Binding race(Source value);                 // qrl_Race
Binding bloodType(Source value, std::string label = "qrl_bldtype"); // unmatched (blank included) "모름"
Binding admissionRoute(Source value);       // qrl_admcou: code and note, "외래(" note ")" ...
Binding admissionMethod(Source value);      // qrl_admmeth
Binding stress(Source value);               // qrl_Stress: the metabolic stress texts
Binding activity(Source value);             // qrl_Activest
Binding orientation(Source value);          // qrl_pshist1..3 from characters 1..3
Binding admissionHistory(Source value);     // qrs_admlast1/2 and qrl_admlast

// Square groups.
Binding smoking(Source value);              // qrs_Tabaco, qrs_noTabaco, otherwise qrs_pastTabaco
Binding allergy(Source value);              // qrs_argyn1/2
Binding sleepDisturbance(Source value);     // qrs_sleep1/2
Binding sleepingPills(Source value);        // qrs_sleepdg1/2
Binding broughtMedication(Source value);    // qrs_bringN/Y
Binding transfusionRefusal(Source value);   // qrs_bloody/n
Binding appetite(Source value);             // qrs_eat1..3
Binding weightChange(Source value);         // qrs_wetchg1..3 (1 "증가", 2 "감소", 3 "무")
Binding dysphagia(Source value);            // qrs_Dysphagia1/2
Binding skinCondition(Source value);        // qrs_skinst1..13, a flag string

// Squares with the text that goes with them, from one field.
Binding pastHistory(const std::string &field);   // qrs_pthist1..5, qrl_pthist characters 6 to 60
Binding medication(const std::string &field);    // qrs_dgstat1/2 by the first character, qrl_dgstat 2 to 51
Binding familyHistory(const std::string &field); // qrs_famcase1..6, qrl_famcase 7 to 61 trimmed
Binding operation(const std::string &field);     // qrs_opyn1/2 by the first character, qrl_opnm 2 to 250
// The same with the squares read off the first character of `code`, a rule of the sheet's own.
Binding medication(const std::string &field, Source code);
Binding operation(const std::string &field, Source code);

Binding oedema(const std::string &field);        // qrs_neost1..7; "N" or "Y" at 8 is qrs_neost8, then qrl_neost, trimmed

// Findings of the physical examination as flag strings.
Binding respiratory(Source value); // qrs_respst1..9
Binding circulation(Source value); // qrs_circst1..9
Binding digestion(Source value);   // qrs_dietst1..12

} // namespace medrec::reports::general_sheet
