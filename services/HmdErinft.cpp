#include "HmdErinft.h"

namespace medrec::services {

std::vector<std::string> HmdErinft::fields()
{
    std::vector<std::string> names = NumberedFields("S_CODE", 1, 30);
    for (const auto &family : {NumberedFields("S_NAME", 1, 17), NumberedFields("S_STRING", 1, 51)})
        names.insert(names.end(), family.begin(), family.end());
    return names;
}

int HmdErinft::GetErinf(const std::string &patientNo, const std::string &visitDate,
                        const std::string &arrival)
{
    return RunQuery(
        {"MD_ERINF_S2", "S_PATNO;S_CODE1;S_CODE2", {patientNo, visitDate, arrival}, results.outputs()});
}

} // namespace medrec::services
