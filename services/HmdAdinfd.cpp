#include "HmdAdinfd.h"

namespace medrec::services {

int HmdAdinfd::GetAdinf(const std::string &patientNo, const std::string &admDate, const std::string &type)
{
    std::vector<OutputField> outputs;
    for (std::size_t i = 0; i < adinf.size(); ++i)
        outputs.push_back({"S_STRING" + std::to_string(i + 1), &adinf[i]});
    return RunQuery({"MD_ADINF_S2", "S_PATNO;S_ADMDATE;S_TYPE1", {patientNo, admDate, type}, outputs});
}

} // namespace medrec::services
