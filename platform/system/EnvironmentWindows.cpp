#include "system/Environment.h"

#include "WideText.h"

#include <cstdlib>
#include <cwchar>

namespace medrec::platform {

std::optional<std::string> environmentVariable(const char *name)
{
    // The C runtime's copy, which _wputenv_s keeps and programs started from here inherit.
    if (const wchar_t *value = _wgetenv(wideFromUtf8(name).c_str()))
        return utf8FromWide(value);
    return std::nullopt;
}

bool setEnvironmentVariable(const char *name, const std::string &value, bool overwrite)
{
    const std::wstring wideName = wideFromUtf8(name);
    if (!overwrite && _wgetenv(wideName.c_str()))
        return true;
    // An empty value removes the variable, as Windows does; every reader here takes an
    // empty value for none.
    return _wputenv_s(wideName.c_str(), wideFromUtf8(value).c_str()) == 0;
}

void unsetEnvironmentVariable(const char *name)
{
    _wputenv_s(wideFromUtf8(name).c_str(), L"");
}

std::filesystem::path pathFromUtf8(const std::string &utf8)
{
    return wideFromUtf8(utf8);
}

std::string utf8FromPath(const std::filesystem::path &path)
{
    return utf8FromWide(path.native());
}

} // namespace medrec::platform
