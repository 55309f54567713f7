#pragma once

// The maternity nursing admission assessment of one admission ("MD_OBINF_S2").

#include "FieldResults.h"

namespace medrec::services {

class HmdObinfd
{
public:
    // GetObinf: "S_STRING1" .. "S_STRING115". "S_STRING1" is the writing nurse's identifier,
    // the others the sheet's answers.
    FieldResults results{NumberedFields("S_STRING", 1, 115)};

    // The assessment written for the patient's admission of admDate (YYYYMMDD); type is sent
    // as "S_TYPE1" (the sheet sends it empty). -1 failure, else the number of rows.
    int GetObinf(const std::string &patientNo, const std::string &admDate, const std::string &type);
};

} // namespace medrec::services
