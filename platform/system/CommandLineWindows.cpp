#include "system/CommandLine.h"

#include "WideText.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

namespace medrec::platform {

std::vector<std::string> commandLineArguments(int argc, char **argv)
{
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide || count != argc) {
        // Not the command line main() was given (a caller's own argv): taken as it is.
        if (wide)
            LocalFree(wide);
        return {argv, argv + argc};
    }
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i)
        args.push_back(utf8FromWide(wide[i]));
    LocalFree(wide);
    return args;
}

} // namespace medrec::platform
