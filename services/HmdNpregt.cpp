#include "HmdNpregt.h"

namespace medrec::services {

int HmdNpregt::GetPreg(const std::string &type, const std::string &patientNo, const std::string &visitDate)
{
    return RunQuery(
        {"MD_NPREG_S1", "S_CODE1;S_CODE2;S_CODE3", {type, patientNo, visitDate}, results.outputs()});
}

} // namespace medrec::services
