#pragma once

// The file of the running program.

#include <filesystem>

namespace medrec::platform {

// The running program's file, absolute; empty when the system cannot tell.
std::filesystem::path programPath();

} // namespace medrec::platform
