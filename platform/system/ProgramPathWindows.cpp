#include "system/ProgramPath.h"

#include <windows.h>

#include <string>

namespace medrec::platform {

std::filesystem::path programPath()
{
    // The path may be longer than MAX_PATH: grow until it fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (size == 0)
            return {};
        if (size < buffer.size()) {
            buffer.resize(size);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace medrec::platform
