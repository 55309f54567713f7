#include "HmdExCode.h"

namespace medrec::services {

int HmdExCode::ListDeptCode(const std::string &kind, const std::string &qualifier)
{
    return RunQuery({"MD_DEPTC_L1", "S_TYPE1;S_TYPE2", {kind, qualifier}, {{"S_CODE1", &code}, {"S_CODE2", &name}}});
}

} // namespace medrec::services
