#pragma once

#include "report_engine/Form.h"

#include <filesystem>
#include <string_view>
#include <vector>

// Reads form files (JSON; the format is described in docs/report-engine.md). Every fault —
// malformed JSON, an unknown key or type, a duplicate name, a bad unit or colour — throws
// ReportError naming the file and the place in it (a JSON pointer such as /bands/2/components/5).

namespace medrec::engine {

struct LoadOptions {
    // Where pictures are looked for after the form file's own directory.
    std::vector<std::filesystem::path> pictureDirs;
};

// Parses form text. Pictures are looked up beside `baseDir`, then in the options' directories.
Form parseForm(std::string_view json, const std::filesystem::path& baseDir = {},
               const LoadOptions& options = {}, std::string_view sourceName = "form");

Form loadFormFile(const std::filesystem::path& file, const LoadOptions& options = {});

// Loads "<name>.json" from the first directory of the search path that has it.
Form loadForm(std::string_view name, const std::vector<std::filesystem::path>& searchPath,
              const LoadOptions& options = {});

} // namespace medrec::engine
