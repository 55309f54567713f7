#pragma once

// The rehabilitation ward's nursing admission assessment of one admission ("MD_REINF_S1").

#include "FieldResults.h"

namespace medrec::services {

class HmdReinfd
{
public:
    // "S_STRING1" .. "S_STRING94", then "S_PATNO" and "S_ADMDATE", which this service fills
    // with the occupation code and the diagnosis.
    FieldResults results{fields()};

    // The assessment written for the patient's admission of admDate (YYYYMMDD); type is sent
    // as "S_TYPE1". -1 failure, else the number of rows ("S_STRING1" occurrences).
    int GetReinf(const std::string &patientNo, const std::string &admDate, const std::string &type);

private:
    static std::vector<std::string> fields();
};

} // namespace medrec::services
