#include "HsrSedation.h"

namespace medrec::services {

namespace {

int runSedation(const char *service, const SedationKey &key, FieldResults &results)
{
    return RunQuery({service,
                     "S_CODE1;S_CODE2;L_SEQNO1;L_SEQNO2",
                     {key.patNo, key.date, key.seqNo1, key.seqNo2},
                     results.outputs()});
}

} // namespace

std::vector<std::string> HsrSedmet::medicationFields()
{
    std::vector<std::string> names = NumberedFields("S_STRING", 1, 12);
    names.push_back("L_SEQNO3");
    return names;
}

int HsrSedmet::ListSedme(const SedationKey &key) { return runSedation("SR_SEDME_L1", key, results); }

int HsrSedevt::GetSedev(const SedationKey &key) { return runSedation("SR_SEDEV_S1", key, results); }

int HsrSedrct::GetSedrc(const SedationKey &key) { return runSedation("SR_SEDRC_S1", key, results); }

} // namespace medrec::services
