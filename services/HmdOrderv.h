#pragma once

// Physician orders of one order date and the administrations recorded for one order: the
// orders ("MD_ORDER_L8", the large buffer) and an order's administrations ("MD_ORDER_LD",
// long answers read occurrence after occurrence). An object serves one call: its caller
// makes a fresh one for each.

#include "FieldResults.h"

#include <string>
#include <string_view>

namespace medrec::services {

class HmdOrderv
{
public:
    HmdOrderv();

    // Sends "S_TYPE1" .. "S_TYPE5" = "3", the patient number, the order date (YYYYMMDD), the
    // department, "EB1". Keeps "L_SEQNO1", "S_CODE1" .. "S_CODE30", "S_STRING1" .. "S_STRING11".
    // -1 when the call failed (the text is in TuxMessage), otherwise the number of orders
    // (the occurrences of "S_CODE1").
    int ListOrders(const std::string &patNo, const std::string &orderDate, const std::string &dept);

    // Sends "S_TYPE1" .. "S_TYPE4" = "6", the patient number, the order date and the order's
    // sequence number ("L_SEQNO1" of its order row, as text). Keeps "L_SEQNO1", "S_CODE1" ..
    // "S_CODE30", "S_STRING1" .. "S_STRING42", "S_STRING49" .. "S_STRING65", "S_STRING68".
    // -1 when the call failed, otherwise the number of administrations ("S_CODE1").
    int ListAdministrations(const std::string &patNo, const std::string &orderDate, const std::string &seqNo);

    // The outputs of the last call.
    const FieldResults &results() const { return m_results; }
    // Occurrence `row` of an output of the last call; empty text past the last row.
    const std::string &value(std::string_view field, std::size_t row) const
    {
        return m_results.value(field, row);
    }

private:
    FieldResults m_results;
};

} // namespace medrec::services
