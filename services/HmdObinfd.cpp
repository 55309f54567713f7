#include "HmdObinfd.h"

namespace medrec::services {

int HmdObinfd::GetObinf(const std::string &patientNo, const std::string &admDate, const std::string &type)
{
    return RunQuery(
        {"MD_OBINF_S2", "S_PATNO;S_ADMDATE;S_TYPE1", {patientNo, admDate, type}, results.outputs()});
}

} // namespace medrec::services
