#include "HmdNktast.h"

namespace medrec::services {

int HmdNktast::ListKtas(const std::string &type1, const std::string &type2, const std::string &patientNo,
                        const std::string &visitDate, const std::string &arrival, const std::string &type6)
{
    return RunQuery({"MD_NKTAS_L1",
                     "S_TYPE1;S_TYPE2;S_TYPE3;S_TYPE4;S_TYPE5;S_TYPE6",
                     {type1, type2, patientNo, visitDate, arrival, type6},
                     results.outputs()});
}

} // namespace medrec::services
