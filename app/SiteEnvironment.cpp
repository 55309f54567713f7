#include "SiteEnvironment.h"

namespace medrec::app {

std::string SiteEnvironmentFile() { return "C:\\Tarvin\\Env\\His.env"; }

} // namespace medrec::app
