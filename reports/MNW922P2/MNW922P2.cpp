#include "MNW922P2.h"

#include "ChildSheetRules.h"
#include "MNW921P3/GeneralSheetRules.h"

#include "ContextValues.h"
#include "NursingSheet.h"
#include "NursingSheetCodes.h"
#include "PatientHeader.h"
#include "RecordPrint.h"

#include "DateText.h"
#include "HmdPdinfd.h"

namespace medrec::reports {

namespace {

constexpr const char *kWriterName = "S_STRING1";

BindingTable page1Bindings()
{
    using namespace bind;
    using namespace child_sheet;
    using general_sheet::allergy;
    using general_sheet::medication;
    using general_sheet::operation;
    using sheet::codes::kChildSheetReligion;
    return Concat({
        HeaderBindings({.patNo = "qrl_PatNo", .name = "qrl_patname", .resNo = "qrl_ci", .sexAge = "qrl_sex"}),
        {
            text("qrl_meddept", "S_STRING55"),
            text("qrl_chadr", "S_STRING56"),
            text("qrl_ward", value::record(4)),
            text("qrlb_Frecdate", "S_STRING78"),
            text("QRLabel190", kWriterName),
            // 1. 일반정보
            text("qrl_admdate", {value::record(1), common::FmtDate}),
            text("qrl_nurse", kWriterName),
            general_sheet::informant("S_STRING3"),
            text("qrl_icd", "S_STRING2"),
            flagSquares(numbered("qrs_bunform", 1, 3), "S_STRING6"),
            text("qrl_bunform", {"S_STRING6", chars(4, 54)}),
            flagSquares(numbered("qrs_bungaejo", 1, 2), "S_STRING7"),
            text("qrl_bungaejo", {"S_STRING7", chars(3, 53)}),
            text("qrl_telno1", "S_STRING4"),
            text("qrl_telno2", "S_STRING5"),
            general_sheet::paymentAbility("S_STRING83"),
            text("qrl_Telno3", "S_STRING96"),
            text("qrl_Telno4", "S_STRING97"),
            general_sheet::welfareCounselling("S_STRING84"),
            text("qrl_bweight", "S_STRING8"),
            text("qrl_aweight", "S_STRING9"),
            nationality("S_STRING80", "S_STRING81"),
            codeText("QRLabel284", "S_STRING100", kChildSheetReligion),
            general_sheet::transfusionRefusal("S_STRING98"),
            text("qrl_Culturetc", "S_STRING99"),
            parentOccupation("qrl_Job1", "S_STRING62"),
            parentOccupation("qrl_Job2", "S_STRING63"),
            codeText("qrl_reg1", "S_STRING64", kChildSheetReligion),
            codeText("qrl_reg2", "S_STRING65", kChildSheetReligion),
            text("qrl_Hosptal", "S_STRING68"),
            general_sheet::race("S_STRING82"),
            // 2.입원과 관련된정보
            admissionRoute("S_STRING10"),
            admissionMethod("S_STRING11"),
            text("qrl_bldpres", "S_STRING12"),
            text("qrl_hrtbt", "S_STRING13"),
            text("qrl_insp", "S_STRING14"),
            text("qrl_therm", "S_STRING15"),
            text("qrl_height", "S_STRING16"),
            general_sheet::bloodType("S_STRING66"),
            flagSquares({"qrl_IpHIsY", "qrl_IpHIsN"}, "S_STRING77"),
            text("qrl_IpHis", {"S_STRING77", then(chars(3), trimmed())}),
            text("qrl_juicdnm", "S_STRING18"),
            text("qrl_startdd", "S_STRING19"),
            flagSquares(numbered("qrs_pthist", 1, 2), "S_STRING20"),
            text("qrl_pthist", {"S_STRING20", then(chars(3, 55), trimmed())}),
            medication("S_STRING21"),
            text("qrl_dgstat", {"S_STRING21", chars(2, 51)}),
            allergy("S_STRING22"),
            text("qrl_argdg", "S_STRING23"),
            text("qrl_arganti", "S_STRING79"),
            text("qrl_argfd", "S_STRING24"),
            text("qrl_argetc", "S_STRING25"),
            flagSquares(numbered("qrs_famcase", 1, 7), "S_STRING26"),
            text("qrl_famcase", {"S_STRING26", then(chars(8, 62), trimmed())}),
            text("qrl_famrela", "S_STRING27"),
            operation("S_STRING28"),
            text("qrl_opnm", {"S_STRING28", chars(2, 250)}),
            general_sheet::broughtMedication("S_STRING105"),
            // 3.건강과 관련돤 정보
            general_sheet::orientation("S_STRING29"),
            consciousness("S_STRING30"),
            communication("S_STRING31"),
            activity("S_STRING67"),
            flagSquares({"qrl_Habit1", "qrl_Habit2"}, "S_STRING60"),
            text("qrl_Habit", {"S_STRING60", then(chars(3), trimmed())}),
            flagSquares(numbered("qrs_feelst", 1, 6), "S_STRING32"),
            flagSquares(numbered("qrs_meal", 1, 4), "S_STRING33"),
            malformation("S_STRING34"),
            flagSquares(numbered("qrs_circst", 1, 8), "S_STRING35"),
            flagSquares(numbered("qrs_respst", 1, 8), "S_STRING36"),
            flagSquares(numbered("qrs_bdietst", 1, 8), "S_STRING37"),
            text("qrl_stool", "S_STRING38"),
            flagSquares(numbered("qrs_stoolknd", 1, 5), "S_STRING39"),
            text("qrl_urine", "S_STRING40"),
            flagSquares(numbered("qrs_urineknd", 1, 7), "S_STRING41"),
            // Seven sites, then the pain's manner from the eighth character: the ear ("귀") has no
            // character of its own, so its square is not printed rather than read as "no pain".
            flagSquares(numbered("qrs_bpain", 1, 7), "S_STRING42"),
            text("qrl_bpain", {"S_STRING42", chars(8, 67)}),
        }});
}

BindingTable page2Bindings()
{
    using namespace bind;
    using namespace child_sheet;
    return Concat({
        {
            text("qlb_edtnurnm1", kWriterName),
            flagSquares({"qrl_skinst1", "qrl_skinst2"}, "S_STRING61"),
            text("qrl_skinst", {"S_STRING61", then(chars(3), trimmed())}),
            flagSquares(numbered("qrs_bskin", 1, 6), "S_STRING43"),
            text("qrl_bskin", {"S_STRING43", chars(7, 67)}),
            flagSquares(numbered("qrs_eyest", 1, 4), "S_STRING44"),
            flagSquares(numbered("qrs_earst", 1, 5), "S_STRING45"),
            flagSquares(numbered("qrs_neost", 1, 7), "S_STRING46"),
            text("qrl_neost", {"S_STRING46", chars(8)}),
            flagSquares(numbered("qrs_dental", 1, 4), "S_STRING47"),
            text("qrl_dental", {"S_STRING47", chars(5, 64)}),
            appetite("S_STRING86"),
            weightChange("S_STRING87"),
            dysphagia("S_STRING88"),
            general_sheet::stress("S_STRING89"),
            // 예방접종과 관련된 정보
            flagSquares(numbered("qrs_dpt", 1, 4), "S_STRING48"),
            flagSquares(numbered("qrs_polio", 1, 4), "S_STRING50"),
            flagSquares(numbered("qrs_liver", 1, 4), "S_STRING52"),
            vaccination("qrs_measl1", "qrs_measl2", "S_STRING49"),
            vaccination("qrs_cheek1", "qrs_cheek2", "S_STRING51"),
            vaccination("qrs_bcg1", "qrs_bcg2", "S_STRING53"),
            text("qrl_etc", "S_STRING54"),
        },
        // 4.입원시 간호 및 교육내용
        teaching({.preparation = "S_STRING69",
                  .wardFacilities = "S_STRING70",
                  .hospitalFacilities = "S_STRING71",
                  .fireSafety = "S_STRING72",
                  .valuables = "S_STRING73",
                  .falls = "S_STRING74",
                  .visiting = "S_STRING75",
                  .treatment = "S_STRING76",
                  .patientSafety = "S_STRING85",
                  .other = "S_STRING101"}),
        // 5.초기퇴원계획
        dischargePlan({.livesWith = "S_STRING90",
                       .carer = "S_STRING91",
                       .place = "S_STRING92",
                       .placeOther = "S_STRING93",
                       .contact = "S_STRING94",
                       .target = "S_STRING95"}),
    });
}

} // namespace

const std::vector<FormBindings> &ChildNursingSheetForms()
{
    static const std::vector<FormBindings> forms{{.fill = page1Bindings()}, {.fill = page2Bindings()}};
    return forms;
}

BlockResult PrintChildNursingSheet(RecordPrint &print)
{
    services::HmdPdinfd sheetData;
    return sheet::PrintSheetRow(print, sheetData.GetPdinf(print.cell(0), print.cell(1), ""), sheetData.results);
}

} // namespace medrec::reports
