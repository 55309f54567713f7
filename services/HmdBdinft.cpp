#include "HmdBdinft.h"

namespace medrec::services {

namespace {

std::vector<std::string> outputNames()
{
    std::vector<std::string> names{"S_MEDDEPT"};
    for (const auto &[family, last] : {std::pair{"S_CODE", 30}, {"S_NAME", 30}, {"S_DATE", 18}, {"S_STRING", 9}}) {
        const auto fields = NumberedFields(family, 1, last);
        names.insert(names.end(), fields.begin(), fields.end());
    }
    return names;
}

} // namespace

HmdBdinft::HmdBdinft() : results(outputNames()) {}

int HmdBdinft::GetBdinf(const std::string &patientNo, const std::string &admDate)
{
    return RunQuery({"MD_BDINF_S1", "S_PATNO;S_ADMDATE", {patientNo, admDate}, results.outputs()});
}

} // namespace medrec::services
