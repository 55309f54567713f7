#pragma once

// The emergency nursing information of one emergency-room visit ("MD_ERINF_S2").

#include "FieldResults.h"

namespace medrec::services {

class HmdErinft
{
public:
    // "S_CODE1" .. "S_CODE30", "S_NAME1" .. "S_NAME17", "S_STRING1" .. "S_STRING51".
    FieldResults results{fields()};

    // The sheet of the visit of visitDate (YYYYMMDD) with its arrival (the record's key
    // cells as they are). -1 failure, else the number of rows.
    int GetErinf(const std::string &patientNo, const std::string &visitDate, const std::string &arrival);

private:
    static std::vector<std::string> fields();
};

} // namespace medrec::services
