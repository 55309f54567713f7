#include "HmdInsamt.h"

namespace medrec::services {

int HmdInsamt::ListInsam(const std::string &type1, const std::string &type2, const std::string &type3,
                         const std::string &type4)
{
    std::vector<OutputField> outputs;
    for (std::size_t i = 0; i < staff.size(); ++i)
        outputs.push_back({"S_STRING" + std::to_string(i + 1), &staff[i]});
    return RunQuery({"MD_INSAM_L1", "S_TYPE1;S_TYPE2;S_TYPE3;S_TYPE4", {type1, type2, type3, type4}, outputs});
}

} // namespace medrec::services
