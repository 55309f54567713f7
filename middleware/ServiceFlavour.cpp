#include "ServiceFlavour.h"

#include <array>

namespace medrec::middleware {

Flavour FlavourForService(std::string_view service)
{
    static constexpr std::array<std::string_view, 7> large = {
        "MD_PMEDH_S1", "MD_ORDER_L8", "MD_OPRPT_L1", "MD_IOCHK_L1", "MD_IPDLS_E1", "MD_WDRMC_L1", "MH_HDREC_S1",
    };
    for (auto name : large)
        if (name == service)
            return Flavour::Large;
    return Flavour::Standard;
}

} // namespace medrec::middleware
