#pragma once

// The pregnancies registered for a patient's visit ("MD_NPREG_S1").

#include "FieldResults.h"

namespace medrec::services {

class HmdNpregt
{
public:
    // "S_STRING1" .. "S_STRING5".
    FieldResults results{NumberedFields("S_STRING", 1, 5)};

    // Inputs "S_CODE1" .. "S_CODE3": the sheet sends "1", the patient number and the visit
    // date (YYYY-MM-DD). -1 failure, else the number of rows (a registered pregnancy: 1 or more).
    int GetPreg(const std::string &type, const std::string &patientNo, const std::string &visitDate);
};

} // namespace medrec::services
