#pragma once

// The fixed code tables of the emergency nursing information sheet: the texts its codes
// print as. The codes the hospital keeps in its own lists (departments, wards, rooms and the
// common-code groups) are looked up in the print's code/name lists instead.

#include "NursingSheet.h"

#include <string>

namespace medrec::reports::er_sheet::codes {

using sheet::CodeTexts;

// Read as numbers.
extern const CodeTexts kZone;             // "S_CODE2": 1 .. 19
extern const CodeTexts kVisitType;        // "S_CODE5"; 4 "기타" shows its detail
extern const CodeTexts kDiseaseType;      // "S_CODE26"; 4 "기타" shows its detail
extern const CodeTexts kAccidentType;     // "S_CODE7"
extern const CodeTexts kTransferReason;   // "S_CODE29" of a transfer; 3 "기타" shows its detail
extern const CodeTexts kTransferMeans;    // "S_CODE30" of a transfer; 4 "기타" shows its detail
extern const CodeTexts kAbsentPresent;    // 0 무, 1 유: the medication at discharge, the pledge
extern const CodeTexts kEmergencySymptom; // "S_NAME7": the statutory sentences, each after a blank

// The visit type every code the table lacks stands for.
inline constexpr const char *kVisitTypeOtherwise = "자원";
// The code whose text is followed by its detail, in the tables that have one.
inline constexpr int kVisitTypeWithDetail = 4;
inline constexpr int kDiseaseTypeWithDetail = 4;
inline constexpr int kTransferReasonWithDetail = 3;
inline constexpr int kTransferMeansWithDetail = 4;

// Compared as text.
std::string Consciousness(const std::string &trimmedCode); // "A" Alert, "V", "P", "U"
std::string PlaceOfDeath(const std::string &code);         // "1" 응급실사망, "2" DOA
std::string AfterDeath(const std::string &code);           // "1" .. "3"; anything else 영안실이동
std::string CapacityConfirmed(const std::string &code);    // "1" 직접확인, "2" 정보센터, else 무
// The referral letter, test and imaging records and the capacity check: "1" 무, else 유.
std::string AbsentWhenOne(const std::string &code);

// The triage level: 1 .. 5 "Level" and the level as delivered, 8 기타, 9 미상, else empty.
std::string TriageLevel(const std::string &level);

} // namespace medrec::reports::er_sheet::codes
