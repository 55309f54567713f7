#include "MNW925P2.h"

#include "RehabSheetRules.h"

#include "MNW921P3/GeneralSheetRules.h"
#include "MNW922P2/ChildSheetRules.h"

#include "ContextValues.h"
#include "NursingSheet.h"
#include "RecordPrint.h"

#include "DateText.h"
#include "HmdReinfd.h"

namespace medrec::reports {

namespace {

// The sheet's own text when the service has no row.
const Notice kNoRows = Notice::status("조회할 자료가 없습니다.");

BindingTable page1Bindings()
{
    using namespace bind;
    using namespace rehab_sheet;
    namespace general = general_sheet;
    const std::string writer = value::record(2);
    return Concat({
        sheet::HeaderTable(),
        {
            text("qrlb_Frecdate", "S_STRING67"),
            text("QRLabel243", writer),
            // 1. 일반정보
            text("qrl_admdate", {value::record(1), common::FmtDate}),
            occupation("S_PATNO"),
            text("qrl_nurse", writer),
            general::informant(number("S_STRING1")),
            text("qrl_addr", value::kPanelAddress),
            text("qrl_telno1", "S_STRING4"),
            text("qrl_telno2", "S_STRING5"),
            text("qrl_Telno3", "S_STRING68"),
            text("qrl_Telno4", "S_STRING69"),
            nationality("S_STRING76"),
            general::religion(number("S_STRING60")),
            general::transfusionRefusal("S_STRING88"),
            text("qrl_Culturetc", "S_STRING89"),
            education("S_STRING3"),
            general::maritalStatus(number("S_STRING2"), "S_STRING59"),
            text("qrl_tabaco", "S_STRING36"),
            text("qrl_drink", "S_STRING35"),
            general::paymentAbility(number("S_STRING79")),
            general::welfareCounselling(number("S_STRING80")),
            // 2. 입원과 관련된 정보
            text("qrl_bodytemp", "S_STRING51"),
            text("qrl_pulse", "S_STRING52"),
            text("ed_respcnt", "S_STRING53"),
            joined("qrl_bldprehi", {"S_STRING54", "S_STRING55"}, "/"),
            text("qrl_weight", "S_STRING56"),
            text("qrl_height", "S_STRING57"),
            general::bloodType(number("S_STRING58")),
            general::admissionRoute(digits("S_STRING7", 1)),
            general::admissionMethod(digits("S_STRING8", 1)),
            memoLine("qrme_AdmovDet", "S_STRING37"),
            text("qrl_icd", "S_ADMDATE"),
            general::allergy("S_STRING9"),
            text("qrl_argdg", "S_STRING10"),
            text("qrl_arganti", "S_STRING81"),
            text("qrl_argfd", "S_STRING11"),
            text("qrl_argetc", "S_STRING12"),
            general::pastHistory("S_STRING13"),
            general::medication("S_STRING14", digits("S_STRING14", 1)),
            general::familyHistory("S_STRING15"),
            text("qrl_famrela", "S_STRING16"),
            general::operation("S_STRING17", digits("S_STRING17", 1)),
            general::broughtMedication("S_STRING93"),
            // 3. 신체검진
            general::orientation(digits("S_STRING18", 3)),
            child_sheet::consciousness("S_STRING19"),
            child_sheet::communication("S_STRING20"),
            flagSquares(numbered("qrs_feelst", 1, 8), "S_STRING21"),
            flagSquares(numbered("qrs_pain", 1, 13), "S_STRING26"),
            general::sleepDisturbance("S_STRING33"),
            general::sleepingPills("S_STRING34"),
            child_sheet::appetite(number("S_STRING84")),
            child_sheet::weightChange(number("S_STRING85")),
            child_sheet::dysphagia(number("S_STRING86")),
            general::stress(number("S_STRING87")),
            text("qrl_stool", {"S_STRING32", trimmed()}),
            text("qrs_urinst", {"S_STRING25", chars(10)}),
            flagSquares(numbered("qrs_urinst", 1, 9), "S_STRING25"),
            // characters 2 to 4 are the aids on page 2
            flagSquares({"qrs_eyest1", "", "", "", "qrs_eyest5", "qrs_eyest6", "qrs_eyest7"}, "S_STRING29"),
            flagSquares(numbered("qrs_earst", 1, 8), "S_STRING30"),
        }});
}

BindingTable page2Bindings()
{
    using namespace bind;
    using namespace rehab_sheet;
    namespace general = general_sheet;
    return Concat({
        {
            text("QRLabel240", value::record(2)),
            // 3. 신체검진 (계속)
            flagSquares(numbered("qrs_nerves", 1, 12), "S_STRING65"),
            general::respiratory("S_STRING23"),
            general::circulation("S_STRING22"),
            general::oedema("S_STRING31"),
            general::digestion("S_STRING24"),
            flagSquares(numbered("qrs_skin", 1, 8), "S_STRING28"),
            flagSquares(numbered("qrs_bedsore", 1, 6), "S_STRING64"),
            flagSquares(numbered("qrs_support", 1, 7), "S_STRING27"),
            sheet::optionalFlagsText({"qrs_support8"}, "qrl_support", "S_STRING27", 8, false),
            flagSquares(numbered("qrs_eyest", 2, 4), "S_STRING29", 2),
            // 4. 재활간호와 관련된 정보
            movement("S_STRING61"),
            dailyActivities("S_STRING62"),
            flagSquares({"Qrs_Daymot2", "Qrs_Daymot3", "Qrs_Daymot4"}, "S_STRING62", 2),
            flagSquares(numbered("qrs_Housestr", 1, 7), "S_STRING63"),
            // 5. 입원시 간호 및 교육내용
            square("qrs_edu1", "S_STRING38"),
            wardFacilities("S_STRING39"),
            hospitalFacilities("S_STRING40"),
            square("qrs_edu4", "S_STRING41"),
            square("qrs_edu5", "S_STRING42"),
            square("qrs_edu6", "S_STRING43"),
            square("qrs_edu7", "S_STRING44"),
            square("qrs_edu8", "S_STRING45"),
            flagSquares(numbered("qrs_Safeedu", 1, 5), "S_STRING82"),
            text("qrme_Eduoth", "S_STRING83"),
        },
        // 6. 초기퇴원계획
        child_sheet::dischargePlan({.livesWith = number("S_STRING70"),
                                    .carer = number("S_STRING71"),
                                    .place = "S_STRING72",
                                    .placeOther = "S_STRING73",
                                    .contact = "S_STRING74",
                                    .target = "S_STRING75"}),
    });
}

} // namespace

const std::vector<FormBindings> &RehabNursingSheetForms()
{
    static const std::vector<FormBindings> forms{{.fill = page1Bindings()}, {.fill = page2Bindings()}};
    return forms;
}

BlockResult PrintRehabNursingSheet(RecordPrint &print)
{
    services::HmdReinfd sheetData;
    if (auto stop = sheet::FetchedRow(print, sheetData.GetReinf(print.cell(0), print.cell(1), ""), sheetData.results,
                                      kNoRows))
        return *stop;
    const FieldValues &values = print.values;
    sheet::PanelHeader(print, values["S_STRING46"], print.cell(3), print.cell(4));

    PrintJob job = print.sheetJob();
    // The department is the sheet's own field, not a column of the record row.
    job.summary = {.meddate = print.cell(1),
                   .dschdate = print.cell(6),
                   .patgubun = "I",
                   .meddept = values["S_STRING46"],
                   .chadr = print.cell(5)};
    return job;
}

} // namespace medrec::reports
