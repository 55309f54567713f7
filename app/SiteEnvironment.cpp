#include "SiteEnvironment.h"

#include <cstdlib>

namespace medrec::app {

std::string SiteEnvironmentFile()
{
#ifndef _WIN32
    if (const char *path = std::getenv("MEDREC_HIS_ENV"); path && *path)
        return path;
#endif
    return "C:\\Tarvin\\Env\\His.env";
}

} // namespace medrec::app
