#pragma once

// The nursing admission assessment of one admission ("MD_ADINF_S2").

#include "FieldResults.h"

namespace medrec::services {

class HmdAdinfd
{
public:
    // GetAdinf: "S_STRING1" .. "S_STRING110". "S_STRING1" is the writing nurse's identifier,
    // the others the sheet's answers.
    FieldResults results{NumberedFields("S_STRING", 1, 110)};

    // The assessment written for the patient's admission of admDate (YYYYMMDD); type is sent
    // as "S_TYPE1" (the general sheet sends it empty). -1 failure, else the number of rows.
    int GetAdinf(const std::string &patientNo, const std::string &admDate, const std::string &type);
};

} // namespace medrec::services
