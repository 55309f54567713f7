#pragma once

// The fill rules of the general nursing sheet that the maternity and child sheets reuse
// unchanged, each from the value of its field (the field differs from sheet to sheet). Codes
// "as a number" throw CodeConversionError for a text that is not a whole number.

#include "AssessmentSheet.h"

#include <string>
#include <string_view>

namespace medrec::reports {

// Code = the first two characters as a number; 8 prints the free text from the third.
std::string OccupationText(std::string_view value);
std::string InformantText(std::string_view value);
std::string EducationText(std::string_view value);
// The status text (empty outside 1 to 4), "/" and the number of children.
std::string MaritalText(std::string_view status, std::string_view children);
std::string ReligionText(std::string_view value);
// "대한민국" when the trimmed value is that, otherwise the value as it stands.
std::string NationalityText(std::string_view value);
// 1 "있음", 2 "없음": payment ability, awareness of the illness.
std::string PresenceText(std::string_view value);
std::string WelfareText(std::string_view value);
std::string RaceText(std::string_view value);
// Unmatched (blank included) "모름".
std::string BloodTypeText(std::string_view value);
// Code = first character, the rest a note: "외래(" + note + ")", "응급(...)", or the note alone.
std::string AdmissionRouteText(std::string_view value);
std::string AdmissionMethodText(std::string_view value);
std::string StressText(std::string_view value);
std::string ActivityText(std::string_view value);
// Character `position` of the orientation field: 1 "무", 2 "유".
std::string OrientationText(std::string_view value, int position);

// Square groups. The component names are the same on every sheet that reuses them.
SquareFills SmokingSquares(std::string_view value);
SquareFills AllergySquares(std::string_view value);
SquareFills MedicationSquares(std::string_view value);
SquareFills OperationSquares(std::string_view value);
SquareFills SleepSquares(std::string_view value);
SquareFills SleepingPillSquares(std::string_view value);
SquareFills BroughtMedicationSquares(std::string_view value);
SquareFills TransfusionRefusalSquares(std::string_view value);
SquareFills AppetiteSquares(std::string_view value);
SquareFills WeightChangeSquares(std::string_view value);
SquareFills DysphagiaSquares(std::string_view value);
// The 13 skin-condition squares qrs_skinst1..13.
SquareFills SkinConditionSquares(std::string_view flags);

// Admission history: the squares and the text of qrl_admlast.
struct AdmissionHistory
{
    SquareFills squares;
    std::string text;
};
AdmissionHistory AdmissionHistoryOf(std::string_view value);

} // namespace medrec::reports
