#pragma once

// The code tables of the nursing admission sheets, as data: the text each code prints as.
// A table is named by what its codes mean; where two sheets mean different things by the same
// field, each meaning has its own table, named for the sheet that means it, and a sheet picks
// the table it prints with.

#include "NursingSheet.h"

namespace medrec::reports::sheet::codes {

// The general sheet's meanings.
extern const CodeTexts kOccupation;       // 8 is not in it: the sheet writes that occupation out
extern const CodeTexts kInformant;
extern const CodeTexts kEducation;
extern const CodeTexts kMaritalStatus;
extern const CodeTexts kReligion;
extern const CodeTexts kRace;
extern const CodeTexts kBloodType;
extern const CodeTexts kAdmissionRoute;   // 3 is a place of the note's own
extern const CodeTexts kAdmissionMethod;  // 4 is a method of the note's own
extern const CodeTexts kMetabolicStress;
extern const CodeTexts kActivity;

// Answers.
extern const CodeTexts kPresence;      // 1 있음, 2 없음
extern const CodeTexts kNeed;          // 1 필요, 2 불필요
extern const CodeTexts kAbsentPresent; // 1 무, 2 유

// The consciousness and communication labels of the maternity sheet (compared as text).
extern const CodeTexts kConsciousness; // 1 명료 .. 4 무의식
extern const CodeTexts kCommunication; // 1 원만, 2 곤란, 3 불가능
// The maternity sheet's prenatal visits.
extern const CodeTexts kPrenatalVisits; // 1 정기적, 2 간헐적

} // namespace medrec::reports::sheet::codes
