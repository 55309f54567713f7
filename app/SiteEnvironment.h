#pragma once

#include <string>

namespace medrec::app {

// The site environment file the client names to the middleware. (Outside Windows the
// middleware library reads the file named by MEDREC_ENV_FILE instead, when that is set.)
std::string SiteEnvironmentFile();

} // namespace medrec::app
