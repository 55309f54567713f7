#pragma once

// The triage (KTAS) of one emergency-room arrival ("MD_NKTAS_L1").

#include "FieldResults.h"

namespace medrec::services {

class HmdNktast
{
public:
    // "S_STRING1" .. "S_STRING14": "S_STRING9" the first triage level, "S_STRING6" the level
    // after re-triage, "S_STRING10" the triage time.
    FieldResults results{NumberedFields("S_STRING", 1, 14)};

    // Inputs "S_TYPE1" .. "S_TYPE6" in that order: the sheet sends "C", empty, the patient
    // number, the visit date (YYYY-MM-DD), the arrival (YYYY-MM-DD hh:mm:ss), empty.
    // -1 failure, else the number of rows.
    int ListKtas(const std::string &type1, const std::string &type2, const std::string &patientNo,
                 const std::string &visitDate, const std::string &arrival, const std::string &type6);
};

} // namespace medrec::services
