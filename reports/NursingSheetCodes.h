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

// The child sheet's meanings; the psychiatric sheet prints its religion and its appetite,
// weight-change and dysphagia answers with them too.
extern const CodeTexts kChildSheetReligion;         // 1 무교 .. 7 기타: not the general sheet's order
extern const CodeTexts kChildSheetParentOccupation; // 8 교사, 9 공무원: no occupation written out
extern const CodeTexts kChildSheetAdmissionRoute;   // 3 is a place of the note's own
extern const CodeTexts kChildSheetActivity;

// The psychiatric sheet's meanings: 0 is a code of its own in the first two.
extern const CodeTexts kPsychSheetInformant;
extern const CodeTexts kPsychSheetEducation;
extern const CodeTexts kPsychSheetOccupation; // 8 is not in it: the sheet writes that occupation out

// Assessments the child and maternity sheets print as words, not squares; the codes are those
// the general sheet's squares stand for.
extern const CodeTexts kConsciousness;
extern const CodeTexts kCommunication;
extern const CodeTexts kAppetite;
extern const CodeTexts kWeightChange;

} // namespace medrec::reports::sheet::codes
