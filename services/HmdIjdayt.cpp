#include "HmdIjdayt.h"

namespace medrec::services {

std::vector<std::string> HmdIjdayt::outputNames()
{
    std::vector<std::string> names{"S_ORDDATE"};
    for (const auto &family : {NumberedFields("S_CODE", 1, 16), NumberedFields("L_CNT", 1, 2)})
        names.insert(names.end(), family.begin(), family.end());
    return names;
}

int HmdIjdayt::ListIjday(const std::string &type1, const std::string &type2, const std::string &type3)
{
    return RunQuery({"MD_IJDAY_L2", "S_TYPE1;S_TYPE2;S_TYPE3", {type1, type2, type3}, results.outputs()});
}

} // namespace medrec::services
