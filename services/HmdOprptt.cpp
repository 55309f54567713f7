#include "HmdOprptt.h"

namespace medrec::services {

namespace {

std::vector<std::string> outputNames()
{
    std::vector<std::string> names{"S_PATNO"};
    for (int i = 1; i <= 167; ++i)
        if (i != 38 && i != 119 && i != 142)
            names.push_back("S_STRING" + std::to_string(i));
    for (const auto &family :
         {NumberedFields("S_NAME", 1, 30), NumberedFields("S_CODE", 1, 44), NumberedFields("S_TEXT", 1, 10),
          NumberedFields("S_IDNUM", 1, 10), NumberedFields("S_NUMVAL", 1, 30), NumberedFields("S_NO", 1, 10),
          NumberedFields("S_DESC", 1, 9), NumberedFields("S_CONTENTS", 1, 9)})
        names.insert(names.end(), family.begin(), family.end());
    names.emplace_back("L_SEQNO1");
    return names;
}

} // namespace

HmdOprptt::HmdOprptt() : m_results(outputNames()) {}

int HmdOprptt::ListOprpt(const std::string &type1, const std::string &patNo, const std::string &opDate,
                         const std::string &type4, std::int32_t opNo)
{
    return RunQuery({"MD_OPRPT_L1",
                     "S_TYPE1;S_TYPE2;S_TYPE3;S_TYPE4;L_CNT1",
                     {type1, patNo, opDate, type4, opNo},
                     m_results.outputs()});
}

} // namespace medrec::services
