#include "MNW923P2.h"

#include "MNW921P3/GeneralSheetRules.h"
#include "MNW922P2/ChildSheetRules.h"

#include "ContextValues.h"
#include "FormConventions.h"
#include "NursingSheet.h"
#include "NursingSheetCodes.h"
#include "PatientHeader.h"
#include "RecordPrint.h"

#include "DateText.h"
#include "HmdPyinfd.h"
#include "TextHelpers.h"

#include "report_engine/Report.h"

namespace medrec::reports {

namespace {

using namespace sheet::codes;

constexpr const char *kWriterName = "S_STRING2";

// The first character, as a number, picks squares[code - 1] and turns the others white; the
// last square is "기타(", whose brackets show characters 2 to 31, trimmed. Any other code
// leaves every square white and the brackets empty.
Binding choiceWithNote(std::vector<std::string> squares, std::string label, Source value)
{
    std::vector<std::string> components = squares;
    components.push_back(label);
    return bind::custom(std::move(components), {value.field}, [=](engine::Report &r, const FieldValues &v) {
        const std::string text = value.read(v);
        const int code = CodeToInt(sheet::CharAt(text, 1));
        for (std::size_t i = 0; i < squares.size(); ++i)
            shcbx_pro(r, squares[i], code == static_cast<int>(i) + 1 ? "Y" : "");
        const bool other = code == static_cast<int>(squares.size());
        r.label(label).setCaption(other ? common::Trimmed(sheet::Chars(text, 2, 31)) : "");
    });
}

// Psychomotor state: characters 1 to 4 by the flag rule, and "기타(" (4) shows its note; a "Y"
// at 5 ("적절", not printed) paints its square and takes the note away again.
Binding psychomotor()
{
    auto components = bind::numbered("qrs_pthist", 1, 5);
    components.push_back("qrl_pthist");
    return bind::custom(std::move(components), {"S_STRING25", "S_STRING26"}, [](engine::Report &r, const FieldValues &v) {
        const std::string &flags = v["S_STRING25"];
        for (int i = 1; i <= 4; ++i)
            shcbx_pro(r, "qrs_pthist" + std::to_string(i), sheet::CharAt(flags, i));
        r.label("qrl_pthist").setCaption(sheet::CharAt(flags, 4) == "Y" ? v["S_STRING26"] : "");
        if (sheet::CharAt(flags, 5) == "Y") {
            shcbx_pro(r, "qrs_pthist5", "Y");
            r.label("qrl_pthist").setCaption("");
        }
    });
}

// Thought content: a "Y" at 7 ("기타(") opens its brackets on the text after the flags.
Binding thoughtNote()
{
    return bind::custom({"qrl_think"}, {"S_STRING31"}, [](engine::Report &r, const FieldValues &v) {
        const std::string &flags = v["S_STRING31"];
        r.label("qrl_think").setCaption(sheet::CharAt(flags, 7) == "Y" ? sheet::CharsFrom(flags, 8) : "");
    });
}

BindingTable page1Bindings()
{
    using namespace bind;
    using general_sheet::medication;
    using general_sheet::operation;
    return Concat({
        HeaderBindings({.patNo = "qrl_PatNo", .name = "qrl_patname", .resNo = "qrl_ci", .sexAge = "qrl_sex"}),
        {
            text("qrl_meddept", "S_STRING36"),
            text("qrl_chadr", value::record(3)),
            text("qrl_ward", value::record(4)),
            text("qrlb_Frecdate", "S_STRING67"),
            text("QRLabel190", kWriterName),
            // 1. 일반적 배경
            text("qrl_admdate", {value::record(1), common::FmtDate}),
            text("qrl_nurse", kWriterName),
            codeText("qrl_inf", "S_STRING1", kPsychSheetInformant),
            text("qrl_icd", "S_STRING41"),
            text("qrl_addr", value::kPanelAddress),
            choiceWithNote(numbered("qrs_with", 1, 3), "qrl_withetc", "S_STRING5"),
            codeText("qrl_merry", "S_STRING6", kMaritalStatus),
            text("qrl_telno1", "S_STRING42"),
            text("qrl_telno2", "S_STRING43"),
            sheet::codeOrText("qrl_job", {"S_STRING10", chars(1, 31)}, 1, kPsychSheetOccupation, 8),
            text("qrl_Telno3", "S_STRING87"),
            text("qrl_Telno4", "S_STRING88"),
            text("qrl_rich", "S_STRING11"),
            sheet::fixedWhen("qrl_Nation", "S_STRING70", sheet::FirstIsNumberOne, "대한민국", "S_STRING71"),
            codeText("qrl_edu", "S_STRING9", kPsychSheetEducation),
            text("qrl_family", "S_STRING7"),
            codeText("qrl_religion", "S_STRING8", kChildSheetReligion),
            numberSquares("S_STRING89", {{1, "qrs_bloody"}, {2, "qrs_bloodn"}}),
            text("qrl_Culturetc", "S_STRING90"),
            text("qrl_bodytemp", "S_STRING91"),
            text("qrl_pulse", "S_STRING92"),
            general_sheet::bloodType("S_STRING98"),
            text("qrl_weight", "S_STRING96"),
            text("qrl_height", "S_STRING97"),
            text("ed_respcnt", "S_STRING93"),
            joined("qrl_bldprehi", {"S_STRING94", "S_STRING95"}, "/"),
            general_sheet::paymentAbility("S_STRING73"),
            general_sheet::welfareCounselling("S_STRING74"),
            general_sheet::race("S_STRING72"),
            // 2.입원과 관련된 정보
            choiceWithNote(numbered("qrs_admpath", 1, 4), "qrl_admpathetc", "S_STRING4"),
            numberSquares("S_STRING3", {{1, "qrs_admmeth1"}, {2, "qrs_admmeth2"}, {3, "qrs_admmeth3"},
                                        {4, "qrs_admmeth4"}, {5, "qrs_admmeth5"}, {6, "qrs_admmeth6"}},
                          Others::White),
            text("qrl_meal", "S_STRING13"),
            text("qrl_hobby", "S_STRING17"),
            text("qrl_fav", "S_STRING16"),
            text("qrl_etc", "S_STRING18"),
            text("qrme_InSmpt", "S_STRING19"),
            numberSquares("S_STRING64", {{2, "qrs_argyn2"}, {1, "qrs_argyn1"}}, Others::White),
            text("qrl_argdg", "S_STRING65"),
            text("qrl_arganti", "S_STRING68"),
            text("qrl_argfd", "S_STRING66"),
            text("qrl_argetc", "S_STRING69"),
            flagSquares(numbered("qrs_pthist1_", 1, 6), "S_STRING44"),
            text("qrl_pthist_1", {"S_STRING44", then(chars(7, 61), trimmed())}),
            medication("S_STRING45"),
            // The brackets after "유 (" name the medicines written after the code.
            text("qrl_dgstat", {"S_STRING45", chars(2, 51)}),
            flagSquares(numbered("qrs_famcase", 1, 7), "S_STRING46"),
            text("qrl_famcase", {"S_STRING46", then(chars(8, 62), trimmed())}),
            text("qrl_famrela", "S_STRING47"),
            operation("S_STRING48"),
            text("qrl_opnm", {"S_STRING48", chars(2, 250)}),
            general_sheet::broughtMedication("S_STRING102"),
            // 3.건강과 관련된 정보
            text("qrme_View", "S_STRING24"),
            psychomotor(),
            flagSquares(numbered("qrs_atti", 1, 7), "S_STRING27"),
            flagSquares(numbered("qrs_mind", 1, 8), "S_STRING28"),
            flagSquares(numbered("qrs_talk", 1, 6), "S_STRING29"),
            flagSquares(numbered("qrs_sense", 1, 6), "S_STRING30"),
            flagSquares(numbered("qrs_think", 1, 7), "S_STRING31"),
            thoughtNote(),
            flagSquares(numbered("qrs_sen", 1, 5), "S_STRING32"),
            flagSquares({"qrs_sleep1", "qrs_sleep2"}, "S_STRING52"),
            flagSquares({"qrs_sleepdg1", "qrs_sleepdg2"}, "S_STRING53"),
            text("qrl_sleep", "S_STRING12"),
        }});
}

BindingTable page2Bindings()
{
    using namespace bind;
    using namespace child_sheet;
    return Concat({
        {
            text("QRLabel125", kWriterName),
            flagSquares(numbered("qrs_pshist", 1, 4), "S_STRING33"),
            flagSquares(numbered("qrs_mem", 1, 3), "S_STRING34"),
            flagSquares(numbered("qrs_decide", 1, 6), "S_STRING35"),
            flagSquares(numbered("qrs_circst", 1, 8), "S_STRING49"),
            flagSquares(numbered("qrs_respst", 1, 8), "S_STRING50"),
            flagSquares(numbered("qrs_dietst", 1, 11), "S_STRING51"),
            appetite("S_STRING77"),
            weightChange("S_STRING78"),
            dysphagia("S_STRING79"),
            general_sheet::stress("S_STRING80"),
            text("qrl_stool", "S_STRING14"),
            text("qrl_drink", "S_STRING54"),
            text("qrl_tabaco", "S_STRING55"),
        },
        // 4.입원시 간호 및 교육내용
        teaching({.preparation = "S_STRING56",
                  .wardFacilities = "S_STRING57",
                  .hospitalFacilities = "S_STRING58",
                  .fireSafety = "S_STRING59",
                  .valuables = "S_STRING60",
                  .falls = "S_STRING61",
                  .visiting = "S_STRING62",
                  .treatment = "S_STRING63",
                  .patientSafety = "S_STRING75",
                  .other = "S_STRING76"}),
        // 5.초기퇴원계획
        dischargePlan({.livesWith = "S_STRING81",
                       .carer = "S_STRING82",
                       .place = "S_STRING83",
                       .placeOther = "S_STRING84",
                       .contact = "S_STRING85",
                       .target = "S_STRING86"}),
    });
}

} // namespace

const std::vector<FormBindings> &PsychiatricNursingSheetForms()
{
    static const std::vector<FormBindings> forms{{.fill = page1Bindings()}, {.fill = page2Bindings()}};
    return forms;
}

BlockResult PrintPsychiatricNursingSheet(RecordPrint &print)
{
    services::HmdPyinfd sheetData;
    return sheet::PrintSheetRow(print, sheetData.GetPyinf(print.cell(0), print.cell(1), ""), sheetData.results);
}

} // namespace medrec::reports
