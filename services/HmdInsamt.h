#pragma once

// Staff names ("MD_INSAM_L1"): the writer of a nursing sheet, a member of a sedation team.

#include "FieldResults.h"

namespace medrec::services {

class HmdInsamt
{
public:
    // "S_STRING1" .. "S_STRING7"; callers read "S_STRING2", the staff member's name.
    FieldResults results{NumberedFields("S_STRING", 1, 7)};

    // The four values go out as "S_TYPE1" .. "S_TYPE4" unchanged: the callers' fixed
    // arguments ("Y", "1" or "2", "EB1") mean what the server makes of them, and type3 is
    // the staff identifier looked up. -1 failure, else the number of rows.
    int ListInsam(const std::string &type1, const std::string &type2, const std::string &type3,
                  const std::string &type4);
};

} // namespace medrec::services
