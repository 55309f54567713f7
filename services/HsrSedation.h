#pragma once

// The sedation treatment record's own services, each asked for by the patient number, the
// procedure date and the record's two sequence numbers (sent as integer fields): the
// medication rows ("SR_SEDME_L1"), the evaluation before sedation ("SR_SEDEV_S1") and the
// recovery ("SR_SEDRC_S1"). Each returns -1 when the call failed (the text is in
// TuxMessage), otherwise the number of rows.

#include "FieldResults.h"

#include <cstdint>
#include <string>

namespace medrec::services {

// The inputs all three send: "S_CODE1;S_CODE2;L_SEQNO1;L_SEQNO2".
struct SedationKey
{
    std::string patNo;
    std::string date;
    std::int32_t seqNo1 = 0;
    std::int32_t seqNo2 = 0;
};

class HsrSedmet
{
public:
    // "S_STRING1" .. "S_STRING12", one occurrence per medication row, and "L_SEQNO3".
    FieldResults results{medicationFields()};
    int ListSedme(const SedationKey &key);

private:
    static std::vector<std::string> medicationFields();
};

class HsrSedevt
{
public:
    // "S_STRING1" .. "S_STRING42".
    FieldResults results{NumberedFields("S_STRING", 1, 42)};
    int GetSedev(const SedationKey &key);
};

class HsrSedrct
{
public:
    // "S_STRING1" .. "S_STRING15".
    FieldResults results{NumberedFields("S_STRING", 1, 15)};
    int GetSedrc(const SedationKey &key);
};

} // namespace medrec::services
