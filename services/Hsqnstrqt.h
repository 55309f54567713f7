#pragma once

// The consultation request the nutrition support team answers ("SQ_NSTRQ_S2").

#include "FieldResults.h"

namespace medrec::services {

class Hsqnstrqt
{
public:
    // "S_STRING1" the request text, "S_STRING2" the request reasons, one "Y"/other character
    // per reason.
    FieldResults results{NumberedFields("S_STRING", 1, 2)};

    // The three codes go out as "S_CODE1" .. "S_CODE3" (the record's patient number and its
    // two further keys). -1 failure, else the number of rows.
    int GetNstrq(const std::string &code1, const std::string &code2, const std::string &code3);
};

} // namespace medrec::services
