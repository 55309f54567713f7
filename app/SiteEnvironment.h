#pragma once

#include <string>

namespace medrec::app {

// The site environment file the client names to the middleware: C:\Tarvin\Env\His.env on
// Windows; elsewhere the file named by MEDREC_ENV_FILE when that is set and not empty, else
// /etc/medrec/His.env.
std::string SiteEnvironmentFile();

} // namespace medrec::app
