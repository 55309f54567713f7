#include "system/ProgramPath.h"

namespace medrec::platform {

std::filesystem::path programPath()
{
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : program;
}

} // namespace medrec::platform
