#include "system/Environment.h"

namespace medrec::platform {

std::optional<std::string> nonEmptyEnvironmentVariable(const char *name)
{
    auto value = environmentVariable(name);
    if (value && value->empty())
        return std::nullopt;
    return value;
}

} // namespace medrec::platform
