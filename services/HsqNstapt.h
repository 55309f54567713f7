#pragma once

// The nutrition support team's reply to a consultation ("SQ_NSTAP_S1"): what the doctor,
// dietitian, pharmacist and nurse wrote, and the overall evaluation.

#include "FieldResults.h"

namespace medrec::services {

class HsqNstapt
{
public:
    // "S_STRING1" .. "S_STRING36" and "S_STRING40": per assessor the text, date-time and name
    // of the treatment plan and the monitoring, "S_STRING33" the overall evaluation.
    FieldResults results{outputNames()};

    // The four codes go out as "S_CODE1" .. "S_CODE4" (the record's patient number and its
    // three further keys). -1 failure, else the number of rows.
    int GetNstap(const std::string &code1, const std::string &code2, const std::string &code3,
                 const std::string &code4);

private:
    static std::vector<std::string> outputNames();
};

} // namespace medrec::services
