#include "HmdReinfd.h"

namespace medrec::services {

int HmdReinfd::GetReinf(const std::string &patientNo, const std::string &admDate, const std::string &type)
{
    return RunQuery({"MD_REINF_S1", "S_PATNO;S_ADMDATE;S_TYPE1", {patientNo, admDate, type}, results.outputs()});
}

std::vector<std::string> HmdReinfd::fields()
{
    std::vector<std::string> names = NumberedFields("S_STRING", 1, 94);
    names.insert(names.end(), {"S_PATNO", "S_ADMDATE"});
    return names;
}

} // namespace medrec::services
