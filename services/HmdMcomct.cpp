#include "HmdMcomct.h"

namespace medrec::services {

int HmdMcomct::ListComCode(const std::string &lookupType, const std::string &group, const std::string &subCode,
                           const std::string &qualifier)
{
    std::vector<OutputField> outputs;
    for (std::size_t i = 0; i < count.size(); ++i)
        outputs.push_back({"L_CNT" + std::to_string(i + 1), &count[i]});
    outputs.push_back({"L_SEQNO1", &seqNo});
    for (std::size_t i = 0; i < text.size(); ++i)
        outputs.push_back({"S_STRING" + std::to_string(i + 1), &text[i]});
    return RunQuery({"MD_MCOMC_L1", "S_TYPE1;S_CODE1;S_CODE2;S_CODE3", {lookupType, group, subCode, qualifier},
                     outputs, "S_STRING1"});
}

} // namespace medrec::services
