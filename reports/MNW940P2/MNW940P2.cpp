#include "MNW940P2.h"

#include "MaternitySheetRules.h"

#include "ContextValues.h"
#include "FormConventions.h"
#include "MNW921P3/GeneralSheetRules.h"
#include "NursingSheet.h"
#include "NursingSheetCodes.h"
#include "RecordPrint.h"

#include "DateText.h"
#include "HmdObinfd.h"

namespace medrec::reports {

namespace {

constexpr const char *kWriterName = "MD_INSAM_L1.S_STRING2";

// The registration number as the screen's panel shows it whole, masked.
std::string maskedResNo(const std::string &shownWhole)
{
    return MaskedResNo(shownWhole);
}

// The rules and tables the sheet shares with the general sheet are the general sheet's.
BindingTable page1Bindings()
{
    using namespace bind;
    using namespace general_sheet;
    using namespace sheet::codes;
    return {
        // the patient as the screen shows them, the attending from the record row
        text("qrl_PatNo", value::kPanelPatNo),
        text("qrl_patname", value::kPanelName),
        text("qrl_ci", {value::kPanelResNo, maskedResNo}),
        text("qrl_sex", value::kPanelSexAge),
        text("qrl_meddept", "S_STRING102"),
        text("qrl_chadr", value::record(2)),
        joined("qrl_ward", {"S_STRING105", "S_STRING106"}, "-"),
        text("qrl_Frecdate", "S_STRING108"),
        text("QRLabel243", kWriterName),
        // 1. 일반정보
        text("qrl_admdate", {value::record(1), common::FmtDate}),
        text("qrl_nurse", kWriterName),
        informant("S_STRING7"),
        occupation("S_STRING5"),
        text("qrl_icd", "S_STRING2"),
        text("qrl_Hname", "S_STRING15"),
        text("qrl_Hbirthdate", "S_STRING16"),
        bloodType("S_STRING17", "qrl_Hbldtype"),
        education("S_STRING9"),
        maritalStatus("S_STRING6", "S_STRING8"),
        text("qrl_addr", value::kPanelAddress),
        text("qrl_tabaco", "S_STRING60"),
        smoking("S_STRING59"),
        square("qrs_eduTabaco", "S_STRING61"),
        text("qrl_telno1", "S_STRING13"),
        text("qrl_telno2", "S_STRING14"),
        paymentAbility("S_STRING11"),
        welfareCounselling("S_STRING12"),
        text("qrl_drink", "S_STRING58"),
        nationality("S_STRING3"),
        religion("S_STRING10"),
        text("qrl_bodytemp", "S_STRING18"),
        text("qrl_pulse", "S_STRING19"),
        text("qrl_preWeight", "S_STRING23"),
        text("qrl_postWeight", "S_STRING24"),
        text("ed_respcnt", "S_STRING20"),
        joined("qrl_bldprehi", {"S_STRING21", "S_STRING22"}, "/"),
        text("qrl_height", "S_STRING25"),
        bloodType("S_STRING26"),
        transfusionRefusal("S_STRING109"),
        text("qrl_Culturetc", "S_STRING110"),
        race("S_STRING4"),
        // 2. 입원과 관련된 정보
        admissionRoute("S_STRING27"),
        admissionMethod("S_STRING28"),
        illnessAwareness("S_STRING29"),
        memoLine("qrme_AdmovDet", "S_STRING30"),
        pastHistory("S_STRING37"),
        admissionHistory("S_STRING36"),
        operation("S_STRING41"),
        medication("S_STRING38"),
        allergy("S_STRING31"),
        text("qrl_argdg", "S_STRING32"),
        text("qrl_Arganti", "S_STRING33"),
        text("qrl_argfd", "S_STRING34"),
        text("qrl_argetc", "S_STRING35"),
        familyHistory("S_STRING39"),
        text("qrl_famrela", "S_STRING40"),
        broughtMedication("S_STRING114"),
        // 3. 신체검진
        orientation("S_STRING42"),
        sheet::textCode("qrl_condst", "S_STRING43", kConsciousness),
        sheet::textCode("qrl_concom", "S_STRING44", kCommunication),
        flagSquares(numbered("qrs_feelst", 1, 8), "S_STRING45"),
        flagSquares(numbered("qrs_deformt", 1, 2), "S_STRING46"),
        appetite("S_STRING47"),
        weightChange("S_STRING48"),
        dysphagia("S_STRING49"),
        stress("S_STRING50"),
        activity("S_STRING51"),
        text("qrl_sleeptm", "S_STRING52"),
        sleepDisturbance("S_STRING53"),
        sleepingPills("S_STRING54"),
        flagSquares(numbered("qrs_feceskd", 1, 4), "S_STRING55"),
        text("qrl_stool", {"S_STRING56", trimmed()}),
        flagSquares(numbered("qrs_urinkd", 1, 4), "S_STRING57"),
        text("qrl_urineCnt", {"S_STRING57", chars(5)}),
        // the other urine symptoms stand on a retired row of page 2
        flagSquares({"", "qrs_urinst2", "qrs_urinst3", "qrs_urinst4", "", "", "qrs_urinst7"}, "S_STRING72"),
        flagSquares(numbered("qrs_eyest", 1, 4), "S_STRING62"),
        text("qrl_eyest", {"S_STRING62", chars(5)}),
        flagSquares(numbered("qrs_earst", 1, 5), "S_STRING63"),
        flagSquares(numbered("qrs_nerves", 1, 3), "S_STRING64"),
        text("qrl_nerves", {"S_STRING64", chars(4)}),
        flagSquares(numbered("qrs_palsy", 1, 5), "S_STRING65"),
        flagSquares(numbered("qrs_respst", 1, 8), "S_STRING66"),
    };
}

BindingTable page2Bindings()
{
    using namespace bind;
    using namespace general_sheet;
    using namespace maternity_sheet;
    return {
        text("QRLabel214", kWriterName),
        // 3. 신체검진 (continued)
        flagSquares(numbered("qrs_circst", 1, 8), "S_STRING67"),
        flagSquares(numbered("qrs_neost", 1, 7), "S_STRING68"),
        text("qrl_neost", {"S_STRING68", chars(8)}),
        flagSquares(numbered("qrs_dietst", 1, 11), "S_STRING69"),
        skinCondition("S_STRING70"),
        text("qrl_skinst", {"S_STRING70", chars(14)}),
        flagSquares(numbered("qrs_skin", 1, 6), "S_STRING71"),
        flagSquares(numbered("qrs_support", 1, 7), "S_STRING73"),
        text("qrl_support", {"S_STRING73", chars(8)}),
        text("qrl_birth", "S_STRING74"),
        flagSquares(numbered("qrs_pain", 1, 12), "S_STRING75"),
        flagSquares({"qrs_urinst1", "", "", "", "qrs_urinst5", "qrs_urinst6", "", "qrs_urinst8"},
                    "S_STRING72"),
        // 산과정보
        flagSquares(numbered("qrs_Preexam", 1, 4), "S_STRING76"),
        codeText("qrl_Preexam", "S_STRING77", sheet::codes::kMaternitySheetPrenatalVisits),
        text("qrl_Preexam1", "S_STRING78"),
        text("qrl_Preexam2", "S_STRING79"),
        text("qrl_Obhist1", "S_STRING80"),
        text("qrl_Obhist2", "S_STRING81"),
        text("qrl_Obhist3", "S_STRING82"),
        absentPresentWith("qrs_Fasting", "qrl_Fasting", "S_STRING83"),
        absentPresentWith("qrs_Show", "qrl_Show", "S_STRING84"),
        absentPresentWith("qrs_Rom", "qrl_Rom", "S_STRING85"),
        absentPresentWith("qrs_Obpain", "qrl_Obpain", "S_STRING86"),
        absentPresentWith("qrs_Fhr", "qrl_Fhr", "S_STRING87"),
        text("qrl_menache1", "S_STRING88"),
        text("qrl_menache2", "S_STRING89"),
        text("qrl_menache3", "S_STRING90"),
        flagSquares(numbered("qrs_Mens", 1, 3), "S_STRING91"),
        flagSquares(numbered("qrs_Menspain", 1, 3), "S_STRING92"),
        flagSquares(numbered("qrs_Daeha", 1, 3), "S_STRING93"),
        // 4.입원시 간호 및 교육내용
        admissionTeaching("S_STRING94"),
        text("qrm_Etc", "S_STRING95"),
        // 5.초기퇴원계획: only "4" is another place, named in a field of its own
        sheet::dischargePlan({.livesWith = "S_STRING96",
                              .carer = "S_STRING97",
                              .place = "S_STRING98",
                              .otherPlace = sheet::OtherPlace::Four,
                              .placeNote = "S_STRING99",
                              .contact = "S_STRING100",
                              .teaching = "S_STRING101"}),
    };
}

} // namespace

const std::vector<FormBindings> &MaternityNursingSheetForms()
{
    static const std::vector<FormBindings> forms{{.fill = page1Bindings()}, {.fill = page2Bindings()}};
    return forms;
}

BlockResult PrintMaternityNursingSheet(RecordPrint &print)
{
    services::HmdObinfd sheetData;
    if (auto stop = sheet::AddSheetRow(print, sheetData.GetObinf(print.cell(0), print.cell(1), ""),
                                       sheetData.results, "1"))
        return *stop;
    PrintJob job = print.sheetJob();
    job.summary = sheet::Summary(print, 5, 6, 4);
    return job;
}

} // namespace medrec::reports
