#pragma once

// Page 2 of the sedation treatment record (report TSRA411FN_P02): the observation rows, and
// the closing band of the recovery score, the discharge teaching and the recovering nurse.

#include "Bindings.h"

#include "GridData.h"

#include <string>

namespace medrec::reports {

class RecordContent;

namespace sedation {

// The prefix the recovery row ("SR_SEDRC_S1") goes under in the block's values.
inline constexpr const char *kRecovery = "SR_SEDRC_S1.";

// The observation rows into `list` (its rows 1 .. n), each value trimmed: time, state, score,
// PR, RR, SaO2, BP, observation, fall teaching, assessor, remark.
void StageObservations(const RecordContent &content, common::GridData &list);

// The multi-record field: when it starts with "Y", the procedure its second character names
// ("0", also when absent: both endoscopies; "1": another) and its text from character 3 on.
struct MultiRecord
{
    bool on = false;
    std::string procedure;
    std::string text;
};
MultiRecord ReadMultiRecord(const std::string &value);

BindingTable RecoveryBindings();
BindingTable ObservationBindings();

} // namespace sedation

} // namespace medrec::reports
