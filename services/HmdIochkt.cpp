#include "HmdIochkt.h"

namespace medrec::services {

namespace {

std::vector<std::string> outputNames()
{
    std::vector<std::string> names{"L_SEQNO1"};
    for (const auto &family : {NumberedFields("S_STRING", 1, 11), NumberedFields("S_NUMVAL", 1, 13)})
        names.insert(names.end(), family.begin(), family.end());
    return names;
}

} // namespace

HmdIochkt::HmdIochkt() : m_results(outputNames()) {}

int HmdIochkt::ListIochk(const std::string &type1, const std::string &type2, const std::string &type3,
                         const std::string &type4, const std::string &type5)
{
    return RunQuery({"MD_IOCHK_L1",
                     "S_TYPE1;S_TYPE2;S_TYPE3;S_TYPE4;S_TYPE5",
                     {type1, type2, type3, type4, type5},
                     m_results.outputs()});
}

} // namespace medrec::services
