#pragma once

// The measurements, the subjective global assessment and the nutritional requirements of a
// nutrition support reply ("SQ_NSTSG_S1"); numbers come as decimal texts.

#include "FieldResults.h"

namespace medrec::services {

class HsqNstsgt
{
public:
    // "S_STRING1" .. "S_STRING36".
    FieldResults results{NumberedFields("S_STRING", 1, 36)};

    // The four codes go out as "S_CODE1" .. "S_CODE4" (the record's patient number and its
    // three further keys). -1 failure, else the number of rows.
    int GetNstsg(const std::string &code1, const std::string &code2, const std::string &code3,
                 const std::string &code4);
};

} // namespace medrec::services
