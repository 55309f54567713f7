#pragma once

// The nursing admission assessment of one admission ("MD_ADINF_S2").

#include "DataClassCall.h"

#include <array>

namespace medrec::services {

class HmdAdinfd
{
public:
    static constexpr int kAdinfFields = 110;

    // GetAdinf: "S_STRING1" .. "S_STRING110"; index k-1 holds "S_STRINGk". "S_STRING1" is
    // the writing nurse's identifier, the others the sheet's answers.
    std::array<ServiceResult, kAdinfFields> adinf;

    HmdAdinfd() { adinf.fill({""}); }

    const ServiceResult &field(int number) const { return adinf.at(static_cast<std::size_t>(number - 1)); }

    // The assessment written for the patient's admission of admDate (YYYYMMDD); type is sent
    // as "S_TYPE1" (the general sheet sends it empty). -1 failure, else the number of rows.
    int GetAdinf(const std::string &patientNo, const std::string &admDate, const std::string &type);
};

} // namespace medrec::services
