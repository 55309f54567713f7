#include "Hadrmcdct.h"

namespace medrec::services {

int Hadrmcdct::ListRoom(const std::string &wardCode)
{
    return RunQuery({"MD_WDRMC_L1", "S_TYPE1", {wardCode}, {{"S_STRING1", &room}}});
}

} // namespace medrec::services
