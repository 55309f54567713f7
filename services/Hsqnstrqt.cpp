#include "Hsqnstrqt.h"

namespace medrec::services {

int Hsqnstrqt::GetNstrq(const std::string &code1, const std::string &code2, const std::string &code3)
{
    return RunQuery({"SQ_NSTRQ_S2", "S_CODE1;S_CODE2;S_CODE3", {code1, code2, code3}, results.outputs()});
}

} // namespace medrec::services
