#include "HsqNstapt.h"

namespace medrec::services {

std::vector<std::string> HsqNstapt::outputNames()
{
    std::vector<std::string> names = NumberedFields("S_STRING", 1, 36);
    names.push_back("S_STRING40");
    return names;
}

int HsqNstapt::GetNstap(const std::string &code1, const std::string &code2, const std::string &code3,
                        const std::string &code4)
{
    return RunQuery(
        {"SQ_NSTAP_S1", "S_CODE1;S_CODE2;S_CODE3;S_CODE4", {code1, code2, code3, code4}, results.outputs()});
}

} // namespace medrec::services
