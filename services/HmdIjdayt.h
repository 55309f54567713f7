#pragma once

// The medications ("W") or treatments ("U") of a patient's day ("MD_IJDAY_L2").

#include "FieldResults.h"

namespace medrec::services {

class HmdIjdayt
{
public:
    // Per row: "S_ORDDATE" the order date, "S_CODE1" .. "S_CODE16" (time carried out, order
    // time, ordering doctor, order text, carried out by, a treatment's kind ...), "L_CNT1" and
    // "L_CNT2" as text.
    FieldResults results{outputNames()};

    // "S_TYPE1" = the list ("W" medications, "U" treatments), "S_TYPE2" the patient number,
    // "S_TYPE3" the day. -1 failure, else the number of rows.
    int ListIjday(const std::string &type1, const std::string &type2, const std::string &type3);

private:
    static std::vector<std::string> outputNames();
};

} // namespace medrec::services
