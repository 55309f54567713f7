#pragma once

// The program's arguments as UTF-8 text. Windows hands main() its arguments in the local
// code page (CP949 on a Korean Windows), where a user name in Hangul would not read as
// UTF-8; its own UTF-16 command line is read instead.

#include <string>
#include <vector>

namespace medrec::platform {

// argv[0] .. argv[argc - 1], each as UTF-8.
std::vector<std::string> commandLineArguments(int argc, char **argv);

} // namespace medrec::platform
