#include "system/DescriptorLimit.h"

namespace medrec::platform {

// Winsock sockets are kernel handles with no per-process limit of the POSIX kind.
std::optional<std::uint64_t> openDescriptorLimit() { return std::nullopt; }

void raiseOpenDescriptorLimit() {}

} // namespace medrec::platform
