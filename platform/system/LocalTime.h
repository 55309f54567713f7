#pragma once

// The broken-down local time of a moment, safe to call from several threads.

#include <ctime>

namespace medrec::platform {

std::tm localTime(std::time_t moment);

} // namespace medrec::platform
