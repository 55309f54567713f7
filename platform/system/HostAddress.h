#pragma once

// The workstation's own IPv4 address, as its host name resolves: what the client sends
// as its client name when it joins.

#include <array>
#include <optional>

namespace medrec::platform {

// The first IPv4 address of this machine's host name; nullopt when it has none.
std::optional<std::array<unsigned char, 4>> hostIPv4Address();

} // namespace medrec::platform
