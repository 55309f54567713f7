#pragma once

// Which field-buffer flavour each service is called with.

#include <string_view>

namespace medrec::middleware {

enum class Flavour {
    Standard, // "FML", 65,532 bytes
    Large,    // "FML32", 524,256 bytes
};

inline constexpr long kStandardBufferSize = 65532;
inline constexpr long kLargeBufferSize = 524256;
inline constexpr long kScratchBufferSize = 4096;

// Large for the services whose answers can be long, standard for every other one.
Flavour FlavourForService(std::string_view service);

} // namespace medrec::middleware
