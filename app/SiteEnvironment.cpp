#include "SiteEnvironment.h"

#include "system/Environment.h"

namespace medrec::app {

std::string SiteEnvironmentFile()
{
    // Named here rather than in the middleware library, so a site that links its vendor's
    // library still gets the override.
    if (auto named = platform::nonEmptyEnvironmentVariable("MEDREC_ENV_FILE"))
        return *named;
#ifdef _WIN32
    return "C:\\Tarvin\\Env\\His.env";
#else
    return "/etc/medrec/His.env";
#endif
}

} // namespace medrec::app
