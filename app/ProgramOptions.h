#pragma once

// The two options every client program answers before anything else starts, needing no
// display and no session.

#include <string_view>

namespace medrec::app {

// With "--help" alone prints the help text, with "--version" alone "<program> <version>", both
// on standard output; true when it did (the program then ends with 0).
bool AnswerHelpOrVersion(int argc, char **argv, std::string_view program, std::string_view help);

} // namespace medrec::app
