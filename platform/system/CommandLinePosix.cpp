#include "system/CommandLine.h"

namespace medrec::platform {

std::vector<std::string> commandLineArguments(int argc, char **argv) { return {argv, argv + argc}; }

} // namespace medrec::platform
