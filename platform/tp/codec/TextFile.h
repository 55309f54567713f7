#pragma once

// Reading the library's own text files (environment file, field table) whole.

#include <optional>
#include <string>

namespace medrec::tp {

// The file's bytes, or nullopt when it cannot be opened. The path is UTF-8 on every system.
std::optional<std::string> readWholeFile(const std::string &path);

} // namespace medrec::tp
