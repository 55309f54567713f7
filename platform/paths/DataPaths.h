#pragma once

// Where a program finds its data files, in this order:
//   1. the environment variable that overrides the location, when set and not empty;
//   2. the copy installed beside the program: <bin>/../share/medrec/... (the service host's
//      field table: <bin>/../share/medrec-server/fields.tbl);
//   3. in a build tree, the source data named by the file medrec-build-tree.paths that
//      CMake writes at the top of the build folder (looked for in the program's folder and
//      up to four folders above it).
// No source path is compiled into a program. The variables are listed in the README.

#include <filesystem>

namespace medrec::paths {

enum class Data {
    Forms,      // folder of report form files, one subfolder per report unit
    Logo,       // folder of the pictures the forms name (the site logo)
    FieldTable, // the service host's field table
    Fonts,      // font files shipped with the program (none in the build tree)
};

// The environment variable that overrides the location (MEDREC_FORMS_DIR, ...).
const char *overrideVariable(Data what);

// The location found, or an empty path when none of the three exists.
std::filesystem::path locate(Data what);

// The same, starting from a given program folder (for tests; locate() uses the folder of
// the running program).
std::filesystem::path locateFrom(Data what, const std::filesystem::path &programDir);

// The folder holding the running program; empty when it cannot be found.
std::filesystem::path programDir();

} // namespace medrec::paths
