#include "Hmdrecott.h"

namespace medrec::services {

int Hmdrecott::ListHistory(const std::string &patientNo, const std::string &type, const std::string &fromDate)
{
    return RunQuery({"MD_PMEDH_S1", "S_PATNO;S_TYPE1;S_TYPE2", {patientNo, type, fromDate}, {{"S_STRING1", &visit}}});
}

} // namespace medrec::services
