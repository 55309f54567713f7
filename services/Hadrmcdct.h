#pragma once

// Rooms of a ward ("MD_WDRMC_L1").

#include "DataClassCall.h"

namespace medrec::services {

class Hadrmcdct
{
public:
    ServiceResult room{""}; // "S_STRING1"

    // -1 failure, else the number of rooms.
    int ListRoom(const std::string &wardCode);
};

} // namespace medrec::services
