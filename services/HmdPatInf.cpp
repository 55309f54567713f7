#include "HmdPatInf.h"

namespace medrec::services {

int HmdPatInf::GetPatInf(const std::string &searchType, const std::string &patientNo, const std::string &name)
{
    std::vector<OutputField> outputs{{"S_PATNO", &patNo}};
    for (std::size_t i = 0; i < info.size(); ++i)
        outputs.push_back({"S_STRING" + std::to_string(i + 1), &info[i]});
    return RunQuery({"MD_PATBA_L2", "S_TYPE1;S_TYPE2;S_TYPE3", {searchType, patientNo, name}, outputs});
}

} // namespace medrec::services
