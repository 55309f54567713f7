#include "MNW921P3.h"

#include "GeneralSheetRules.h"

#include "ContextValues.h"
#include "FormConventions.h"
#include "NursingSheet.h"
#include "PatientHeader.h"
#include "RecordPrint.h"

#include "DateText.h"
#include "HmdAdinfd.h"

#include "Cp949.h"

#include "report_engine/Report.h"

namespace medrec::reports {

namespace {

constexpr const char *kWriterName = "MD_INSAM_L1.S_STRING2";

// Urine: characters 1 to 4 drive four squares (the second and fourth are retired and do not
// print); an "N" or "Y" at 5 starts five more squares and the count follows them.
Binding urine()
{
    return sheet::optionalFlagsText(bind::numbered("qrs_urinkd", 5, 9), "qrl_urineCnt", "S_STRING79", 5, true);
}

// The call button of the ward facilities: a string of exactly 11 characters (the code and the
// ten facility flags) fills it; a longer one gives it character 12.
Binding callButton()
{
    return bind::custom({"qrs_edu311"}, {"S_STRING49"}, [](engine::Report &r, const FieldValues &v) {
        const std::string &value = v["S_STRING49"];
        if (!sheet::FirstIsNumberOne(sheet::CharAt(value, 1)))
            return;
        shcbx_pro(r, "qrs_edu311", text::cp949Width(value) == 11 ? "Y" : sheet::CharAt(value, 12));
    });
}

// "4" and every value but "1", "2" and "3" is another place, named after the code.
Binding dischargePlace()
{
    return bind::choiceSquares("S_STRING100", {{"1", "qrs_Wait1"}, {"2", "qrs_Wait2"}, {"3", "qrs_Wait3"}},
                               Others::White, "qrs_Wait4");
}

BindingTable page1Bindings()
{
    using namespace bind;
    using namespace general_sheet;
    return Concat({
        HeaderBindings({"qrl_PatNo", "qrl_patname", "qrl_ci", "qrl_sex", "qrl_meddept", "qrl_chadr", "qrl_ward"}),
        {
            text("qrl_Frecdate", "S_STRING103"),
            text("QRLabel243", kWriterName),
            // 1. 일반정보
            text("qrl_admdate", {value::record(1), common::FmtDate}),
            occupation("S_STRING2"),
            text("qrl_nurse", kWriterName),
            informant("S_STRING4"),
            text("qrl_telno1", "S_STRING7"),
            text("qrl_telno2", "S_STRING8"),
            education("S_STRING6"),
            maritalStatus("S_STRING5", "S_STRING84"),
            nationality("S_STRING89"),
            text("qrl_addr", "MD_PATBA_L2.S_STRING11"),
            religion("S_STRING82"),
            text("qrl_tabaco", "S_STRING46"),
            smoking("S_STRING87"),
            square("qrs_eduTabaco", "S_STRING88"),
            transfusionRefusal("S_STRING104"),
            text("qrl_Culturetc", "S_STRING105"),
            paymentAbility("S_STRING91"),
            text("qrl_drink", "S_STRING45"),
            race("S_STRING90"),
            welfareCounselling("S_STRING92"),
            // 2. 입원과 관련된 정보
            text("qrl_bodytemp", "S_STRING63"),
            text("qrl_pulse", "S_STRING64"),
            text("ed_respcnt", "S_STRING65"),
            joined("qrl_bldprehi", {"S_STRING66", "S_STRING67"}, "/"),
            text("qrl_weight", "S_STRING68"),
            text("qrl_height", "S_STRING69"),
            bloodType("S_STRING70"),
            admissionRoute("S_STRING9"),
            admissionMethod("S_STRING10"),
            illnessAwareness("S_STRING93"),
            memoLine("qrme_AdmovDet", "S_STRING47"),
            text("qrl_icd", "S_STRING3"),
            allergy("S_STRING11"),
            text("qrl_argdg", "S_STRING12"),
            text("qrl_Arganti", "S_STRING94"),
            text("qrl_argfd", "S_STRING13"),
            text("qrl_argetc", "S_STRING14"),
            admissionHistory("S_STRING76"),
            flagSquares(numbered("qrs_pthist", 1, 5), "S_STRING15"),
            text("qrl_pthist", {"S_STRING15", chars(6, 60)}),
            medication("S_STRING16"),
            text("qrl_dgstat", {"S_STRING16", chars(2, 51)}),
            flagSquares(numbered("qrs_famcase", 1, 6), "S_STRING17"),
            text("qrl_famcase", {"S_STRING17", then(chars(7, 61), trimmed())}),
            text("qrl_famrela", "S_STRING18"),
            operation("S_STRING19"),
            text("qrl_opnm", {"S_STRING19", chars(2, 250)}),
            broughtMedication("S_STRING109"),
            // 3. 신체검진
            orientation("S_STRING20"),
            choiceSquares("S_STRING21", {{"1", "qrs_condst1"}, {"2", "qrs_condst2"}, {"3", "qrs_condst3"}, {"4", "qrs_condst4"}}),
            choiceSquares("S_STRING22", {{"1", "qrs_concom1"}, {"2", "qrs_concom2"}, {"3", "qrs_concom3"}}),
            flagSquares(numbered("qrs_feelst", 1, 8), "S_STRING23"),
            flagSquares(numbered("qrs_deformt", 1, 2), "S_STRING77"),
            flagSquares(numbered("qrs_pain", 1, 13), "S_STRING35"),
            appetite("S_STRING74"),
            weightChange("S_STRING75"),
            dysphagia("S_STRING95"),
            stress("S_STRING96"),
            text("qrl_sleeptm", "S_STRING85"),
            sleepDisturbance("S_STRING43"),
            sleepingPills("S_STRING44"),
            text("qrl_stool", {"S_STRING42", trimmed()}),
            flagSquares(numbered("qrs_feceskd", 1, 4), "S_STRING78"),
            flagSquares(numbered("qrs_urinkd", 1, 4), "S_STRING79"),
            urine(),
        }});
}

BindingTable page2Bindings()
{
    using namespace bind;
    using namespace general_sheet;
    using sheet::FirstIsNumberOne;
    using sheet::FirstIsTextOne;
    using sheet::leadFlagSquares;
    using sheet::optionalFlagsText;
    return {
        text("QRLabel342", kWriterName),
        // 3. 신체검진 (continued)
        activity("S_STRING83"),
        flagSquares(numbered("qrs_eyest", 1, 7), "S_STRING39"),
        flagSquares(numbered("qrs_earst", 1, 8), "S_STRING40"),
        flagSquares(numbered("qrs_nerves", 1, 3), "S_STRING80"),
        optionalFlagsText({"qrs_nerves4"}, "qrl_nerves", "S_STRING80", 4, true),
        flagSquares(numbered("qrs_palsy", 1, 6), "S_STRING36"),
        flagSquares(numbered("qrs_respst", 1, 9), "S_STRING25"),
        flagSquares(numbered("qrs_circst", 1, 9), "S_STRING24"),
        flagSquares(numbered("qrs_neost", 1, 7), "S_STRING41"),
        optionalFlagsText({"qrs_neost8"}, "qrl_neost", "S_STRING41", 8, true),
        flagSquares(numbered("qrs_dietst", 1, 12), "S_STRING26"),
        skinCondition("S_STRING81"),
        text("qrl_skinst", {"S_STRING81", then(chars(14), trimmed())}),
        flagSquares(numbered("qrs_skin", 1, 8), "S_STRING38"),
        // character 6 drives no square; 8, when "N" or "Y", is "유" and the description follows
        flagSquares({"qrs_support1", "qrs_support2", "qrs_support3", "qrs_support4", "qrs_support5", "", "qrs_support7"},
                    "S_STRING37"),
        optionalFlagsText({"qrs_support8"}, "qrl_support", "S_STRING37", 8, false),
        // 4.입원시 간호 및 교육내용
        square("qrs_edu1", "S_STRING48"),
        leadFlagSquares("qrs_edu2", numbered("qrs_edu", 21, 30), "S_STRING49", FirstIsNumberOne),
        callButton(),
        leadFlagSquares("qrs_edu3", numbered("qrs_edu", 31, 36), "S_STRING50", FirstIsTextOne),
        leadFlagSquares("qrs_edu4", numbered("qrs_edu", 41, 42), "S_STRING51", FirstIsTextOne),
        square("qrs_edu5", "S_STRING52"),
        square("qrs_edu7", "S_STRING54"),
        square("qrs_edu8", "S_STRING55"),
        square("qrs_edu9", "S_STRING56"),
        flagSquares(numbered("qrs_Safeedu", 1, 5), "S_STRING97"),
        text("qrm_Etc", "S_STRING57"),
        // 5.초기퇴원계획
        dischargeLivesWith("S_STRING98"),
        dischargeCarer("S_STRING99"),
        dischargePlace(),
        text("qrl_Waitetc", {"S_STRING100", chars(2)}),
        dischargeContact("S_STRING101"),
        dischargeTeaching("S_STRING102"),
    };
}

} // namespace

const std::vector<FormBindings> &GeneralNursingSheetForms()
{
    static const std::vector<FormBindings> forms{{.fill = page1Bindings()}, {.fill = page2Bindings()}};
    return forms;
}

BlockResult PrintGeneralNursingSheet(RecordPrint &print)
{
    if (auto stop = sheet::FetchPatient(print, sheet::kNoRowsFound))
        return *stop;
    services::HmdAdinfd sheetData;
    if (auto stop = Fetched(sheetData.GetAdinf(print.cell(0), print.cell(1), ""), sheet::kNoRowsFound))
        return *stop;
    FieldValues &values = print.values;
    values.addRow(sheetData.results);
    if (auto stop = sheet::FetchWriter(print, values["S_STRING1"], "2", sheet::kNoRowsFound))
        return *stop;

    PatientHeader header = PatientHeader::fromPatientService(values, sheet::kPatient);
    header.dept = values["S_STRING58"];
    header.doctor = values["S_STRING59"];
    header.ward = values["S_STRING61"] + "-" + values["S_STRING62"];
    header.addTo(values);

    PrintJob job = print.sheetJob();
    job.summary = sheet::Summary(print);
    return job;
}

} // namespace medrec::reports
