#pragma once

// One hemodialysis treatment record ("MH_HDREC_S1", the large buffer).

#include "FieldResults.h"

namespace medrec::services {

class HmhHdrect
{
public:
    // "S_STRING1" .. "S_STRING51": cautions, times, vital signs, weights, machine settings,
    // access route, nursing checks, hand-over and remarks.
    FieldResults results{NumberedFields("S_STRING", 1, 51)};

    // The four types go out as "S_TYPE1" .. "S_TYPE4" (the record's patient number and its
    // three further keys). -1 failure, else the number of rows.
    int GetHdrec(const std::string &type1, const std::string &type2, const std::string &type3,
                 const std::string &type4);
};

} // namespace medrec::services
