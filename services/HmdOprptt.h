#pragma once

// The operating-room nursing record of one operation ("MD_OPRPT_L1").

#include "FieldResults.h"

#include <cstdint>
#include <string>

namespace medrec::services {

class HmdOprptt
{
public:
    HmdOprptt();

    // "S_PATNO" (it counts the rows), "S_STRING1" .. "S_STRING167" but 38, 119 and 142,
    // "S_NAME1" .. "S_NAME30", "S_CODE1" .. "S_CODE44", "S_TEXT1" .. "S_TEXT10",
    // "S_IDNUM1" .. "S_IDNUM10", "S_NUMVAL1" .. "S_NUMVAL30", "S_NO1" .. "S_NO10",
    // "S_DESC1" .. "S_DESC9", "S_CONTENTS1" .. "S_CONTENTS9", "L_SEQNO1" (as text).
    const FieldResults &results() const { return m_results; }

    // Sends "S_TYPE1" .. "S_TYPE4" as texts and the operation's number as the integer field
    // "L_CNT1". -1 when the call failed (the text is in TuxMessage), else the number of rows.
    int ListOprpt(const std::string &type1, const std::string &patNo, const std::string &opDate,
                  const std::string &type4, std::int32_t opNo);

private:
    FieldResults m_results;
};

} // namespace medrec::services
