#pragma once

#include <string>

namespace medrec::app {

// The site environment file the middleware reads. Outside Windows the environment
// variable MEDREC_HIS_ENV may name another file, so demos and tests never touch system paths.
std::string SiteEnvironmentFile();

} // namespace medrec::app
