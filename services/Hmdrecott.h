#pragma once

// A patient's visits ("MD_PMEDH_S1").

#include "DataClassCall.h"

namespace medrec::services {

class Hmdrecott
{
public:
    // "S_STRING1": the visit's date and time digits, YYYYMMDDHHNN[SS], one per visit.
    ServiceResult visit{""};

    // -1 failure, else the number of visits.
    int ListHistory(const std::string &patientNo, const std::string &type, const std::string &fromDate);
};

} // namespace medrec::services
