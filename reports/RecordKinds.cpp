#include "RecordKinds.h"

#include "MDS510U1_P01/MDS510U1_P01.h"

namespace medrec::reports {

const std::array<RecordKind, kRecordKindCount> &RecordKinds()
{
    static const std::array<RecordKind, kRecordKindCount> kinds{{
        {"MDOPRECT", "TMDS510F1_P01", true, &PrintOperationRecord},
        {"MDDCHSUT", "TMDO510F1_P02", false, nullptr},
        {"MDPGNOTT", "TMDP270F1_P01", true, nullptr},
        {"MDREADMT", "TMDO540F1_P01", true, nullptr},
        {"MDEMNOTT", "TMDO550F1_P01", true, nullptr},
        {"MDADMNOT", "TMDO530F1_P01", true, nullptr},
        {"MDOPRPTT", "TMDS210F2_P01", true, nullptr},
        {"MDNRRECT", "TMDN420F1_P01", true, nullptr},
        {"MDNERECT", "TMDN420F1_P01", true, nullptr},
        {"MDADINFT", "TMNW921B3", true, nullptr},
        {"MDOBINFT", "TMNW940B2", true, nullptr},
        {"MDVITALT", "TMDF120F1_P01", true, nullptr},
        {"MDPDINFT", "TMNW922S2", true, nullptr},
        {"MDPYINFT", "TMNW923S2", true, nullptr},
        {"MDNBINFT", "TMNW924S2", true, nullptr},
        {"MDREINFT", "TMNW925B2", true, nullptr},
        {"MDIOCHKT_BS", "TMDF160F1_P02", true, nullptr},
        {"MDIOCHKT_IO", "TMDF130F1_P01", true, nullptr},
        {"MDIOCHKT_WE", "TMDF180F1_P01", true, nullptr},
        {"MDBDINFT", "TMDN634F2_P01", true, nullptr},
        {"MDBLOODT", "TMDN690F1_P01", true, nullptr},
        {"MDERINFT", "TMDN130F3_P01", false, nullptr},
        {"SQNSTAPT", "TSQN200F7_P1", true, nullptr},
        {"MDOBDEPT", "TMDN111F5_P01", true, nullptr},
        {"MHHDRECT", "TMHE700F1_P01", true, nullptr},
        {"SRSUVEYT", "TSRA411FM_P01", true, nullptr},
        {"SRSEDMST", "TSRA411FN_P01", true, nullptr},
        {"MDNRACTT", "TMDN110F1_P02", true, nullptr},
    }};
    return kinds;
}

const RecordKind *FindRecordKind(std::string_view code)
{
    for (const auto &kind : RecordKinds())
        if (kind.code == code)
            return &kind;
    return nullptr;
}

} // namespace medrec::reports
