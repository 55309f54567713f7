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

// Findings the general sheet marks with squares and other sheets print as words.
extern const CodeTexts kConsciousness; // 1 명료 .. 4 무의식
extern const CodeTexts kAppetite;      // 1 양호, 2 보통, 3 불량
extern const CodeTexts kWeightChange;  // 1 증가, 2 감소, 3 무
extern const CodeTexts kIndependence;  // 1 독립적, 2 의존적

// The rehabilitation sheet's meanings.
extern const CodeTexts kRehabOccupation;    // one character; 8 is written out, 9 is "기타"
extern const CodeTexts kRehabEducation;     // no 6 or 7
extern const CodeTexts kRehabCommunication; // the short words: 원만, 곤란, 불가능

} // namespace medrec::reports::sheet::codes
