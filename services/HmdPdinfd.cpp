#include "HmdPdinfd.h"

namespace medrec::services {

int HmdPdinfd::GetPdinf(const std::string &patientNo, const std::string &admDate, const std::string &type)
{
    return RunQuery({"MD_PDINF_S2", "S_PATNO;S_ADMDATE;S_TYPE1", {patientNo, admDate, type}, results.outputs()});
}

} // namespace medrec::services
