#include "RecordKinds.h"

#include "PrintContext.h"

#include "MDF120U1_P01/MDF120U1_P01.h"
#include "MDF130U1_P01/MDF130U1_P01.h"
#include "MDF160U1_P02/MDF160U1_P02.h"
#include "MDF180U1_P01/MDF180U1_P01.h"
#include "MDN110U1_P02/MDN110U1_P02.h"
#include "MDN111U5_P01/MDN111U5_P01.h"
#include "MDN130U3_P01/MDN130U3_P01.h"
#include "MDN420U1_P01/MDN420U1_P01.h"
#include "MDN634U2_P01/MDN634U2_P01.h"
#include "MDN690U1_P01/MDN690U1_P01.h"
#include "MDO510U1_P02/MDO510U1_P02.h"
#include "MDO530U1_P01/MDO530U1_P01.h"
#include "MDO540U1_P01/MDO540U1_P01.h"
#include "MDO550U1_P01/MDO550U1_P01.h"
#include "MDP270U1_P01/MDP270U1_P01.h"
#include "MDS210U2_P01/MDS210U2_P01.h"
#include "MDS510U1_P01/MDS510U1_P01.h"
#include "MHE700U1_P01/MHE700U1_P01.h"
#include "MNW921P3/MNW921P3.h"
#include "MNW940P2/MNW940P2.h"
#include "MNW922P2/MNW922P2.h"
#include "MNW923P2/MNW923P2.h"
#include "MNW924P2/MNW924P2.h"
#include "MNW925P2/MNW925P2.h"
#include "SRA411UM_P01/SRA411UM_P01.h"
#include "SRA411UN_P01/SRA411UN_P01.h"
#include "SQN200U7_P1/SQN200U7_P1.h"

namespace medrec::reports {

std::optional<HistoryRow> History::rowOf(const RowCells &record) const
{
    if (!m_written)
        return std::nullopt;
    HistoryRow row{.patNo = record[0], .recordKey = record[1]};
    for (std::size_t i = 0; i < m_details.size(); ++i)
        if (m_details[i] >= 0)
            row.details[i] = record[m_details[i]];
    return row;
}

const std::array<RecordKind, kRecordKindCount> &RecordKinds()
{
    // clang-format off
    static const std::array<RecordKind, kRecordKindCount> kinds{{
        {"MDOPRECT", "MDS510U1_P01", {"TMDS510F1_P01"}, History::written({2}), &PrintOperationRecord, &OperationRecordForms},
        {"MDDCHSUT", "MDO510U1_P02", {"TMDO510F1_P02"}, History::none(), &PrintDischargeSummary, &DischargeSummaryForms},
        {"MDPGNOTT", "MDP270U1_P01", {"TMDP270F1_P01"}, History::written(), &PrintProgressNote, &ProgressNoteForms},
        {"MDREADMT", "MDO540U1_P01", {"TMDO540F1_P01"}, History::written({2}), &PrintReEvaluationNote, &ReEvaluationNoteForms},
        {"MDEMNOTT", "MDO550U1_P01", {"TMDO550F1_P01"}, History::written({2, 3, 4}), &PrintEmergencyNote, &EmergencyNoteForms},
        {"MDADMNOT", "MDO530U1_P01", {"TMDO530F1_P01"}, History::written({2}), &PrintAdmissionNote, &AdmissionNoteForms},
        {"MDOPRPTT", "MDS210U2_P01", {"TMDS210F2_P01"}, History::written({2}), &PrintOperatingRoomNursingRecord, &OperatingRoomNursingRecordForms},
        {"MDNRRECT", "MDN420U1_P01", {"TMDN420F1_P01"}, History::written({2}), &PrintNursingRecord, &NursingRecordForms},
        {"MDNERECT", "MDN420U1_P01", {"TMDN420F1_P01"}, History::written({2}), &PrintEmergencyNursingRecord, &EmergencyNursingRecordForms},
        {"MDADINFT", "MNW921P3", {"TMNW921B3.QuickRep1", "TMNW921B3.QuickRep2"}, History::written(), &PrintGeneralNursingSheet, &GeneralNursingSheetForms},
        {"MDOBINFT", "MNW940P2", {"TMNW940B2.QuickRep1", "TMNW940B2.QuickRep2"}, History::written(), &PrintMaternityNursingSheet, &MaternityNursingSheetForms},
        {"MDVITALT", "MDF120U1_P01", {"TMDF120F1_P01"}, History::written(), &PrintVitalSigns, &VitalSignForms},
        {"MDPDINFT", "MNW922P2", {"TMNW922S2.qrp_1", "TMNW922S2.QuickRep2"}, History::written(), &PrintChildNursingSheet, &ChildNursingSheetForms},
        {"MDPYINFT", "MNW923P2", {"TMNW923S2.qrp_1", "TMNW923S2.QuickRep1"}, History::written(), &PrintPsychiatricNursingSheet, &PsychiatricNursingSheetForms},
        {"MDNBINFT", "MNW924P2", {"TMNW924S2.qrMNUPNIB2", "TMNW924S2.qrMNUPNIB3"}, History::written(), &PrintNewbornNursingSheet, &NewbornNursingSheetForms},
        {"MDREINFT", "MNW925P2", {"TMNW925B2.QuickRep1", "TMNW925B2.QuickRep2"}, History::written(), &PrintRehabNursingSheet, &RehabNursingSheetForms},
        {"MDIOCHKT_BS", "MDF160U1_P02", {"TMDF160F1_P02"}, History::written(), &PrintBloodSugar, &BloodSugarForms},
        {"MDIOCHKT_IO", "MDF130U1_P01", {"TMDF130F1_P01"}, History::written(), &PrintIntakeOutput, &IntakeOutputForms},
        {"MDIOCHKT_WE", "MDF180U1_P01", {"TMDF180F1_P01"}, History::written(), &PrintBodyMeasurements, &BodyMeasurementForms},
        {"MDBDINFT", "MDN634U2_P01", {"TMDN634F2_P01"}, History::written(), &PrintDeliveryRecord, &DeliveryRecordForms},
        {"MDBLOODT", "MDN690U1_P01", {"TMDN690F1_P01"}, History::written({4, 7}), &PrintTransfusionRecord, &TransfusionRecordForms},
        {"MDERINFT", "MDN130U3_P01", {"TMDN130F3_P01"}, History::none(), &PrintEmergencyNursingSheet, &EmergencyNursingSheetForms},
        {"SQNSTAPT", "SQN200U7_P1", {"TSQN200F7_P1"}, History::written({2, 3}), &PrintNutritionSupportReply, &NutritionSupportReplyForms},
        {"MDOBDEPT", "MDN111U5_P01", {"TMDN111F5_P01.QuickRep1", "TMDN111F5_P01.QuickRep2"}, History::written(), &PrintObstetricRecord, &ObstetricRecordForms},
        {"MHHDRECT", "MHE700U1_P01", {"TMHE700F1_P01.qr_1", "TMHE700F1_P01.qr_2"}, History::written({2, 3}), &PrintHemodialysisRecord, &HemodialysisRecordForms},
        {"SRSUVEYT", "SRA411UM_P01", {"TSRA411FM_P01"}, History::written({2, 3}), &PrintSedationAssessment, &SedationAssessmentForms},
        {"SRSEDMST", "SRA411UN_P01", {"TSRA411FN_P01", "TSRA411FN_P02"}, History::written({2}), &PrintSedationRecord, &SedationRecordForms},
        {"MDNRACTT", "MDN110U1_P02", {"TMDN110F1_P02"}, History::written(), &PrintMedicationRecord, &MedicationRecordForms},
    }};
    // clang-format on
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
