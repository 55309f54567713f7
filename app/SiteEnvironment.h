#pragma once

#include <string>

namespace medrec::app {

// The site environment file the client names to the middleware (a UTF-8 path): the file
// named by MEDREC_ENV_FILE when that is set and not empty, else C:\Tarvin\Env\His.env on
// Windows and /etc/medrec/His.env elsewhere.
std::string SiteEnvironmentFile();

} // namespace medrec::app
