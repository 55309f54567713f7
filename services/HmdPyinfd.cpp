#include "HmdPyinfd.h"

namespace medrec::services {

int HmdPyinfd::GetPyinf(const std::string &patientNo, const std::string &admDate, const std::string &type)
{
    return RunQuery({"MD_PYINF_S2", "S_PATNO;S_ADMDATE;S_TYPE1", {patientNo, admDate, type}, results.outputs()});
}

} // namespace medrec::services
