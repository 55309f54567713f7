#include "HmdPatInf.h"

namespace medrec::services {

int HmdPatInf::GetPatInf(const std::string &searchType, const std::string &patientNo, const std::string &name)
{
    std::vector<OutputField> outputs{{"S_PATNO", &patNo}};
    for (std::size_t i = 0; i < info.size(); ++i)
        outputs.push_back({"S_STRING" + std::to_string(i + 1), &info[i]});
    return RunQuery({"MD_PATBA_L2", "S_TYPE1;S_TYPE2;S_TYPE3", {searchType, patientNo, name}, outputs});
}

int HmdPatInf::GetIpdInf(const std::string &type1, const std::string &type2, const std::string &type3,
                         const std::string &type4, const std::string &type5)
{
    std::vector<OutputField> outputs;
    for (std::size_t i = 0; i < inpatient.size(); ++i)
        outputs.push_back({"S_CODE" + std::to_string(i + 1), &inpatient[i]});
    return RunQuery({"MD_IPDLS_E1", "S_TYPE1;S_TYPE2;S_TYPE3;S_TYPE4;S_TYPE5", {type1, type2, type3, type4, type5},
                     outputs});
}

} // namespace medrec::services
