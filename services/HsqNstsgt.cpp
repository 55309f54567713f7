#include "HsqNstsgt.h"

namespace medrec::services {

int HsqNstsgt::GetNstsg(const std::string &code1, const std::string &code2, const std::string &code3,
                        const std::string &code4)
{
    return RunQuery(
        {"SQ_NSTSG_S1", "S_CODE1;S_CODE2;S_CODE3;S_CODE4", {code1, code2, code3, code4}, results.outputs()});
}

} // namespace medrec::services
