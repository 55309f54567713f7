#pragma once

// The number of files and sockets a process may hold open, where the system limits it.

#include <cstdint>
#include <optional>

namespace medrec::platform {

// The current (soft) limit; nullopt where there is none (Windows, or an unlimited one).
std::optional<std::uint64_t> openDescriptorLimit();

// Raises the soft limit to the hard one: each session holds a descriptor, and the default
// soft limit (often 1,024) is far below what the system allows. Nothing where none applies.
void raiseOpenDescriptorLimit();

} // namespace medrec::platform
