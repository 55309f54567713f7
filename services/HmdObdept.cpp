#include "HmdObdept.h"

namespace medrec::services {

int HmdObdept::GetObdep(const std::string &patientNo, const std::string &admDate)
{
    return RunQuery({"MD_OBDEP_L1", "S_TYPE1;S_TYPE2", {patientNo, admDate}, results.outputs()});
}

} // namespace medrec::services
