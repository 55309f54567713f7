#include "RecordKinds.h"

#include "MDN420U1_P01/MDN420U1_P01.h"
#include "MDO510U1_P02/MDO510U1_P02.h"
#include "MDP270U1_P01/MDP270U1_P01.h"
#include "MDS510U1_P01/MDS510U1_P01.h"
#include "MNW921P3/MNW921P3.h"
#include "PhysicianNotes.h"

namespace medrec::reports {

const std::array<RecordKind, kRecordKindCount> &RecordKinds()
{
    static const std::array<RecordKind, kRecordKindCount> kinds{{
        {"MDOPRECT", "MDS510U1_P01", "TMDS510F1_P01", true, &PrintOperationRecord, &OperationRecordBindings},
        {"MDDCHSUT", "MDO510U1_P02", "TMDO510F1_P02", false, &PrintDischargeSummary, &DischargeSummaryBindings},
        {"MDPGNOTT", "MDP270U1_P01", "TMDP270F1_P01", true, &PrintProgressNote, &ProgressNoteBindings},
        {"MDREADMT", "MDO540U1_P01", "TMDO540F1_P01", true, &PrintReEvaluationNote, &ReEvaluationNoteBindings},
        {"MDEMNOTT", "MDO550U1_P01", "TMDO550F1_P01", true, &PrintEmergencyNote, &EmergencyNoteBindings},
        {"MDADMNOT", "MDO530U1_P01", "TMDO530F1_P01", true, &PrintAdmissionNote, &AdmissionNoteBindings},
        {"MDOPRPTT", "", "TMDS210F2_P01", true, nullptr, nullptr},
        {"MDNRRECT", "MDN420U1_P01", "TMDN420F1_P01", true, &PrintNursingRecord, &NursingRecordBindings},
        {"MDNERECT", "MDN420U1_P01", "TMDN420F1_P01", true, &PrintEmergencyNursingRecord, &NursingRecordBindings},
        {"MDADINFT", "MNW921P3", "TMNW921B3", true, &PrintGeneralNursingSheet, &GeneralNursingSheetBindings},
        {"MDOBINFT", "", "TMNW940B2", true, nullptr, nullptr},
        {"MDVITALT", "", "TMDF120F1_P01", true, nullptr, nullptr},
        {"MDPDINFT", "", "TMNW922S2", true, nullptr, nullptr},
        {"MDPYINFT", "", "TMNW923S2", true, nullptr, nullptr},
        {"MDNBINFT", "", "TMNW924S2", true, nullptr, nullptr},
        {"MDREINFT", "", "TMNW925B2", true, nullptr, nullptr},
        {"MDIOCHKT_BS", "", "TMDF160F1_P02", true, nullptr, nullptr},
        {"MDIOCHKT_IO", "", "TMDF130F1_P01", true, nullptr, nullptr},
        {"MDIOCHKT_WE", "", "TMDF180F1_P01", true, nullptr, nullptr},
        {"MDBDINFT", "", "TMDN634F2_P01", true, nullptr, nullptr},
        {"MDBLOODT", "", "TMDN690F1_P01", true, nullptr, nullptr},
        {"MDERINFT", "", "TMDN130F3_P01", false, nullptr, nullptr},
        {"SQNSTAPT", "", "TSQN200F7_P1", true, nullptr, nullptr},
        {"MDOBDEPT", "", "TMDN111F5_P01", true, nullptr, nullptr},
        {"MHHDRECT", "", "TMHE700F1_P01", true, nullptr, nullptr},
        {"SRSUVEYT", "", "TSRA411FM_P01", true, nullptr, nullptr},
        {"SRSEDMST", "", "TSRA411FN_P01", true, nullptr, nullptr},
        {"MDNRACTT", "", "TMDN110F1_P02", true, nullptr, nullptr},
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
