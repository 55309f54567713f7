#include "system/LocalTime.h"

namespace medrec::platform {

std::tm localTime(std::time_t moment)
{
    std::tm parts{};
    localtime_r(&moment, &parts);
    return parts;
}

} // namespace medrec::platform
