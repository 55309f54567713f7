#pragma once

// The sedation pre-assessment record ("검사 전평가 기록"): one row of the record's content,
// its answers packed one character per question in two code strings, printed as squares on
// one page.

#include "RecordKinds.h"

#include <string>

namespace medrec::reports {

// A day count of the medication history: three characters printed as their whole number
// without leading zeros ("007" prints "7"); absent or blank characters print nothing, and
// anything else is no number (CodeConversionError).
std::string DayCount(const std::string &characters);

// "YYYY-MM-DD HH:NN" from YYYYMMDDHHNN, placed character by character; empty text stays empty.
std::string VitalSignTime(const std::string &digits);

BlockResult PrintSedationAssessment(RecordPrint &print);
const std::vector<FormBindings> &SedationAssessmentForms();

} // namespace medrec::reports
