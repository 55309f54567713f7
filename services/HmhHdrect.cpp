#include "HmhHdrect.h"

namespace medrec::services {

int HmhHdrect::GetHdrec(const std::string &type1, const std::string &type2, const std::string &type3,
                        const std::string &type4)
{
    return RunQuery(
        {"MH_HDREC_S1", "S_TYPE1;S_TYPE2;S_TYPE3;S_TYPE4", {type1, type2, type3, type4}, results.outputs()});
}

} // namespace medrec::services
