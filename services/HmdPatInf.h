#pragma once

// Patient basic information ("MD_PATBA_L2") and the inpatient record header ("MD_IPDLS_E1").

#include "DataClassCall.h"

#include <array>

namespace medrec::services {

class HmdPatInf
{
public:
    static constexpr int kFields = 17;
    // The header fields up to the room ("S_CODE23"), the last one a print reads.
    static constexpr int kInpatientFields = 23;

    // "S_PATNO", one per matching patient.
    ServiceResult patNo{""};
    // "S_STRING1" .. "S_STRING17"; index k-1 holds "S_STRINGk" (name, registration number
    // halves, birth date, sex, telephones, postal code, address, chooser columns).
    std::array<ServiceResult, kFields> info;

    // GetIpdInf: "S_CODE1" .. "S_CODE23"; index k-1 holds "S_CODEk" ("S_CODE3" admission
    // date, "S_CODE6" department name, "S_CODE22" ward, "S_CODE23" room).
    std::array<ServiceResult, kInpatientFields> inpatient;

    HmdPatInf()
    {
        info.fill({""});
        inpatient.fill({""});
    }

    const ServiceResult &field(int number) const { return info.at(static_cast<std::size_t>(number - 1)); }
    const ServiceResult &code(int number) const { return inpatient.at(static_cast<std::size_t>(number - 1)); }

    // Search type "1" number, "2" name, "3" display of a known number, "4"/"5" the number and
    // name searches of the second mode. -1 failure, else the number of patients.
    int GetPatInf(const std::string &searchType, const std::string &patientNo, const std::string &name);

    // "MD_IPDLS_E1": inputs "S_TYPE1" .. "S_TYPE5" in that order (a print sends "1", the
    // patient number, "", "EB1", ""). -1 failure, else the number of "S_CODE1" rows.
    int GetIpdInf(const std::string &type1, const std::string &type2, const std::string &type3,
                  const std::string &type4, const std::string &type5);
};

} // namespace medrec::services
