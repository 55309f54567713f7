#pragma once

// The delivery-room record of one admission ("MD_BDINF_S1"): the mother, the delivery and
// the newborn in one row.

#include "FieldResults.h"

#include <string>

namespace medrec::services {

class HmdBdinft
{
public:
    // "S_MEDDEPT", "S_CODE1" .. "S_CODE30", "S_NAME1" .. "S_NAME30", "S_DATE1" .. "S_DATE18"
    // and "S_STRING1" .. "S_STRING9", all as text.
    HmdBdinft();

    FieldResults results;

    // The record of the patient's admission of admDate (YYYYMMDD), sent as "S_PATNO" and
    // "S_ADMDATE". -1 when the call failed (the text is in TuxMessage), else the rows.
    int GetBdinf(const std::string &patientNo, const std::string &admDate);
};

} // namespace medrec::services
