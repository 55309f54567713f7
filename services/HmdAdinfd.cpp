#include "HmdAdinfd.h"

namespace medrec::services {

int HmdAdinfd::GetAdinf(const std::string &patientNo, const std::string &admDate, const std::string &type)
{
    return RunQuery({"MD_ADINF_S2", "S_PATNO;S_ADMDATE;S_TYPE1", {patientNo, admDate, type}, results.outputs()});
}

int HmdAdinfd::GetNbinf(const std::string &patientNo, const std::string &admDate, const std::string &type)
{
    return RunQuery({"MD_NBINF_S1", "S_PATNO;S_ADMDATE;S_TYPE1", {patientNo, admDate, type}, newborn.outputs()});
}

std::vector<std::string> HmdAdinfd::newbornFields()
{
    std::vector<std::string> names = NumberedFields("S_CODE", 1, 30);
    for (auto family : {NumberedFields("S_STRING", 1, 71), NumberedFields("S_NAME", 1, 13)})
        names.insert(names.end(), family.begin(), family.end());
    return names;
}

} // namespace medrec::services
