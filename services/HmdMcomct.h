#pragma once

// Entries of a common-code group ("MD_MCOMC_L1").

#include "DataClassCall.h"

#include <array>

namespace medrec::services {

class HmdMcomct
{
public:
    static constexpr int kCounts = 5;
    static constexpr int kStrings = 14;

    std::array<ServiceResult, kCounts> count; // "L_CNT1" .. "L_CNT5", as decimal text
    ServiceResult seqNo{""};                  // "L_SEQNO1"
    std::array<ServiceResult, kStrings> text; // "S_STRING1" .. "S_STRING14"

    HmdMcomct()
    {
        count.fill({""});
        text.fill({""});
    }

    const ServiceResult &string(int number) const { return text.at(static_cast<std::size_t>(number - 1)); }
    // The entry codes ("S_STRING3") and names ("S_STRING6").
    const ServiceResult &entryCode() const { return string(3); }
    const ServiceResult &entryName() const { return string(6); }

    // Lookup type ("S"), group code ("204"), sub-code ("000"), qualifier (empty).
    // -1 failure, else the number of entries.
    int ListComCode(const std::string &lookupType, const std::string &group, const std::string &subCode,
                    const std::string &qualifier);
};

} // namespace medrec::services
