#pragma once

#include <string>

namespace medrec::server {

// The current local time as the print history and the access audit keep it:
// YYYY-MM-DD HH:MM:SS.mmm, so text order is time order.
std::string localTimestamp();

} // namespace medrec::server
