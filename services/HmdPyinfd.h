#pragma once

// The psychiatric nursing assessment of one admission ("MD_PYINF_S2").

#include "FieldResults.h"

namespace medrec::services {

class HmdPyinfd
{
public:
    // "S_STRING1" .. "S_STRING102". "S_STRING2" is the writing nurse's name, the others the
    // sheet's answers.
    FieldResults results{NumberedFields("S_STRING", 1, 102)};

    // The assessment written for the patient's admission of admDate (YYYYMMDD); type goes out
    // as "S_TYPE1" (the sheet sends it empty). -1 failure, else the number of rows.
    int GetPyinf(const std::string &patientNo, const std::string &admDate, const std::string &type);
};

} // namespace medrec::services
