#include "HmdInsamt.h"

namespace medrec::services {

int HmdInsamt::ListInsam(const std::string &type1, const std::string &type2, const std::string &type3,
                         const std::string &type4)
{
    return RunQuery({"MD_INSAM_L1", "S_TYPE1;S_TYPE2;S_TYPE3;S_TYPE4", {type1, type2, type3, type4}, results.outputs()});
}

} // namespace medrec::services
