#pragma once

// The data of the call benchmarks: one patient with many visits, each holding a nursing
// record and two progress notes, and a register of other patients.

#include <string>

namespace medrec::bench {

inline constexpr const char *kPatient = "00007001";
inline constexpr const char *kPatientName = "방문왕";
// Other patients, so that a search by name has a register to look through.
inline constexpr int kOtherPatients = 300;
inline constexpr int kVisits = 100;

// The import JSON of the patient and its visits (one a month from January 2012), and of the
// other patients (no visits).
std::string manyVisitsData();

} // namespace medrec::bench
