#pragma once

// The record kinds benchmark's own data set: one patient with an emergency visit and a long
// admission after it, holding a record of every kind that pages by rows, as medrec-server
// import JSON (docs/data-format.md). Rows are made up from a few realistic entries of each
// kind, the same every run.
//
// The flowsheets answered from stored replies ("MD_IOCHK_L1", the large buffer) run to about
// twenty pages. The notes and the vital signs hold as many rows as one standard reply of
// "MD_RECOD_L3" carried with every field in every row, so their figures stay comparable with
// earlier runs; records longer than one reply are the demo's long admission (the benchmark's
// "Long records" table).

#include <string>

namespace medrec::testing::long_stay {

inline constexpr const char *kPatNo = "09000001";
inline constexpr const char *kEmergencyDay = "20240302"; // the emergency visit, YYYYMMDD
inline constexpr const char *kAdmissionDay = "20240304"; // the admission after it

// The import document.
std::string Data();

} // namespace medrec::testing::long_stay
