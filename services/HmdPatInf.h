#pragma once

// Patient basic information ("MD_PATBA_L2").

#include "DataClassCall.h"

#include <array>

namespace medrec::services {

class HmdPatInf
{
public:
    static constexpr int kFields = 17;

    // "S_PATNO", one per matching patient.
    ServiceResult patNo{""};
    // "S_STRING1" .. "S_STRING17"; index k-1 holds "S_STRINGk" (name, registration number
    // halves, birth date, sex, telephones, postal code, address, chooser columns).
    std::array<ServiceResult, kFields> info;

    HmdPatInf() { info.fill({""}); }

    const ServiceResult &field(int number) const { return info.at(static_cast<std::size_t>(number - 1)); }

    // Search type "1" number, "2" name, "3" display of a known number, "4"/"5" the number and
    // name searches of the second mode. -1 failure, else the number of patients.
    int GetPatInf(const std::string &searchType, const std::string &patientNo, const std::string &name);
};

} // namespace medrec::services
