#include "SiteEnvironment.h"

#include <cstdlib>

namespace medrec::app {

std::string SiteEnvironmentFile()
{
#ifdef _WIN32
    return "C:\\Tarvin\\Env\\His.env";
#else
    // Named here rather than in the middleware library, so a site that links its vendor's
    // library still gets the override.
    if (const char *named = std::getenv("MEDREC_ENV_FILE"); named && *named)
        return named;
    return "/etc/medrec/His.env";
#endif
}

} // namespace medrec::app
