#pragma once

// The measurement flowsheets of a visit ("MD_IOCHK_L1", the large buffer): blood sugar,
// body measurements and intake and output, chosen by the first input.

#include "FieldResults.h"

#include <string>

namespace medrec::services {

class HmdIochkt
{
public:
    HmdIochkt();

    // "L_SEQNO1", "S_STRING1" .. "S_STRING11", "S_NUMVAL1" .. "S_NUMVAL13", all as text,
    // one occurrence per row.
    const FieldResults &results() const { return m_results; }
    // Occurrence `row` of the field; empty text past the last row.
    const std::string &value(std::string_view field, std::size_t row) const
    {
        return m_results.value(field, row);
    }

    // Sends "S_TYPE1" .. "S_TYPE5" in that order: the flowsheet ("7" blood sugar, "K" body
    // measurements, "P" intake and output) and the keys that flowsheet reads. -1 when the
    // call failed (the text is in TuxMessage), otherwise the number of rows.
    int ListIochk(const std::string &type1, const std::string &type2, const std::string &type3,
                  const std::string &type4, const std::string &type5);

private:
    FieldResults m_results;
};

} // namespace medrec::services
