#include "system/Environment.h"

#include <cstdlib>

namespace medrec::platform {

std::optional<std::string> environmentVariable(const char *name)
{
    if (const char *value = std::getenv(name))
        return std::string(value);
    return std::nullopt;
}

bool setEnvironmentVariable(const char *name, const std::string &value, bool overwrite)
{
    return setenv(name, value.c_str(), overwrite ? 1 : 0) == 0;
}

void unsetEnvironmentVariable(const char *name)
{
    unsetenv(name);
}

std::filesystem::path pathFromUtf8(const std::string &utf8)
{
    return utf8;
}

std::string utf8FromPath(const std::filesystem::path &path)
{
    return path.string();
}

} // namespace medrec::platform
