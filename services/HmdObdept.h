#pragma once

// The obstetrics department's history, delivery and discharge record of one admission
// ("MD_OBDEP_L1").

#include "FieldResults.h"

#include <string>

namespace medrec::services {

class HmdObdept
{
public:
    // "S_STRING1" .. "S_STRING140", all text.
    FieldResults results{NumberedFields("S_STRING", 1, 140)};

    // The record of the patient's admission of admDate, given as YYYY-MM-DD and sent as
    // "S_TYPE2" after the patient number in "S_TYPE1". -1 when the call failed (the text is
    // in TuxMessage), else the rows.
    int GetObdep(const std::string &patientNo, const std::string &admDate);
};

} // namespace medrec::services
