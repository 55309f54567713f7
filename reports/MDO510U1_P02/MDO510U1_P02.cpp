#include "MDO510U1_P02.h"

#include "NoteSections.h"
#include "RecordContent.h"
#include "RecordPrint.h"

#include "TextHelpers.h"

#include "report_engine/Report.h"

#include <stdexcept>

namespace medrec::reports {

namespace {

// 160 and 210 pixels at 96 dpi: where the blank date follows each caption.
constexpr double kDateAfterShortCaption = 160 * 25.4 / 96;
constexpr double kDateAfterLongCaption = 210 * 25.4 / 96;

struct Mark
{
    int code;
    const char *label;
    const char *caption;
};

// Of a group of option labels, the one for the code gets its "■" caption.
void markOption(engine::Report &r, int code, std::initializer_list<Mark> marks)
{
    for (const Mark &m : marks)
        if (m.code == code)
            r.label(m.label).setCaption(m.caption);
}

void markState(engine::Report &r, const FieldValues &v)
{
    const int state = DischargeCode(v["S_STRING17"], "퇴원시 환자상태");
    markOption(r, state,
               {{1, "QRLabel26", "■완쾌"},
                {2, "QRLabel27", "■경쾌"},
                {3, "QRLabel28", "■호전안됨"},
                {4, "QRLabel29", "■진단뿐"},
                {5, "QRLabel30", "■가망없는퇴원"},
                {6, "QRLabel31", "■48시간이내사망"},
                {7, "QRLabel32", "■48시간이후사망"}});
    // A death always answers the autopsy question with no.
    if (state == 6 || state == 7)
        r.label("QRLabel35").setCaption("■아니오");
    // The flag compares the text: "06" marks the option but raises no flag.
    r.label("qlb_Dead").setEnabled(v["S_STRING17"] == "6" || v["S_STRING17"] == "7");
}

void markManner(engine::Report &r, const FieldValues &v)
{
    markOption(r, DischargeCode(v["S_STRING18"], "퇴원 형태"),
               {{1, "QRLabel37", "■퇴원지시후"},
                {2, "QRLabel38", "■자의퇴원"},
                {3, "QRLabel39", "■전원"},
                {4, "QRLabel58", "■탈원"}});
}

void markInfection(engine::Report &r, const FieldValues &v)
{
    const int infection = DischargeCode(v["S_STRING19"], "병원 감염");
    markOption(r, infection >= 1 && infection <= 6 ? infection : 7,
               {{1, "qrlb_InInfect1", "■수술후"},
                {2, "qrlb_InInfect2", "■기타처치후"},
                {3, "qrlb_InInfect3", "■비뇨기계"},
                {4, "qrlb_InInfect4", "■호흡기계"},
                {5, "qrlb_InInfect5", "■소화기계"},
                {6, "qrlb_InInfect6", "■기타"},
                {7, "qrlb_InInfect7", "■없음"}});
}

// The outpatient-plan row is disabled on the form: filled, never printed.
void fillOutpatientPlan(engine::Report &r, const FieldValues &v)
{
    const std::string &plan = v["S_STRING28"];
    if (plan.empty()) {
        r.label("QRLabel44").setCaption("■없음");
        return;
    }
    r.label("QRLabel45").setCaption("■외래");
    r.label("qlb_oprev").setCaption(OutpatientPlanFragment(plan));
}

void fillConfirmation(engine::Report &r, const FieldValues &v)
{
    const std::string caption = ConfirmationCaption(v["S_STRING45"]);
    r.label("QRLabel49").setCaption(caption);
    r.label("QRLabel51").setLeft(caption == "의무기록사 확인일:" ? kDateAfterShortCaption : kDateAfterLongCaption);
}

// "■" on the first box when the answer holds, else on the second; three blanks between.
std::string answer(bool first, const char *yes, const char *no)
{
    return std::string(first ? "■" : "□") + yes + "   " + (first ? "□" : "■") + no;
}

// The follow-up answers: anything but "N" counts as an outpatient plan; the others only an
// exact "Y".
Source answered(const char *field, bool (*holds)(const std::string &), const char *yes, const char *no)
{
    return {field, [holds, yes, no](const std::string &value) { return answer(holds(value), yes, no); }};
}
bool notN(const std::string &value) { return value != "N"; }
bool isY(const std::string &value) { return value == "Y"; }
bool isTransfer(const std::string &manner) { return manner == "3"; }

const std::vector<NoteSection> &narrativeOpening()
{
    static const std::vector<NoteSection> rows = {
        {"", 2, "", 0},
        {"【입원사유(주소)】 ", 2, "S_STRING34", 2},
        {"【합병증/약물부작용및알러지】 ", 2, "S_STRING35", 2},
        {"【주요투약이력】 ", 2, "S_STRING36", 2},
        {"【퇴 원 처 방】 ", 2, "S_STRING37", 2},
        {"【주요검사소견】 ", 2, "S_STRING38", 2},
        {"【추 후 관 리 계 획】 ", 2, "", 0},
        {"    [외래진료계획] ", 0, answered("S_STRING29", notN, "있음", "없음"), 0},
        {"    [재입원계획] ", 0, answered("S_STRING31", isY, "있음", "없음"), 2},
        {"", 0, "S_STRING28", 2},
        {"    [가정간호] ", 0, answered("S_STRING30", isY, "해당", "해당무"), 2},
        {"    [전원] ", 0, answered("S_STRING18", isTransfer, "예", "아니오"), 2},
    };
    return rows;
}

// Only when the manner of discharge is a transfer.
const std::vector<NoteSection> &narrativeTransfer()
{
    static const std::vector<NoteSection> rows = {
        {"    [기관명/진료과/연락된담당자] ", 0, "S_STRING41", 2},
        {"    [전원사유] ", 0, "S_STRING42", 2},
        {"    [연속치료] ", 0, "S_STRING43", 2},
        {"    [전원요구] ", 0, "S_STRING39", 2},
        {"    [동승자] ", 0, "S_STRING40", 2},
    };
    return rows;
}

const std::vector<NoteSection> &narrativeClosing()
{
    static const std::vector<NoteSection> rows = {
        {"    [추후관리교육] ", 0, answered("S_STRING33", isY, "유", "무"), 2},
        {"", 0, "S_STRING32", 2},
        {"【외래에서 확인할사항】 ", 2, "S_STRING44", 2},
        {"【작성일】 ", 0, "S_STRING45", 2},
        {"【작성자】 ", 0, "S_STRING46", 0},
    };
    return rows;
}

std::vector<std::string> narrativeValues()
{
    std::vector<std::string> names;
    for (const auto *rows : {&narrativeOpening(), &narrativeTransfer(), &narrativeClosing()})
        for (std::string &name : NoteValues(*rows))
            names.push_back(std::move(name));
    return names;
}

BindingTable summaryBindings()
{
    using namespace bind;
    return {
        text("qlb_barcode", "S_STRING1"),
        text("qlb_patno", "S_STRING2"),
        text("qlb_patName", "S_STRING3"),
        text("qlb_Meddept", "S_STRING4"),
        text("qlb_ResNo", "S_STRING5"),
        text("qlb_chadr", "S_STRING6"),
        text("qlb_chadr1", "S_STRING6"),
        text("qrl_ward", "S_STRING7"),
        text("qlb_InDate", "S_STRING8"),
        text("qlb_OutDate", "S_STRING9"),
        text("qlb_Sex", "S_STRING10"),
        text("QRLabel9", "S_STRING11"),
        text("QRLabel53", "S_STRING12"),
        text("QRLabel52", "S_STRING13"),
        text("QRLabel54", "S_STRING14"),
        text("QRLabel55", "S_STRING15"),
        text("QRLabel56", "S_STRING16"),
        text("qlb_GenDrNm", "S_STRING20"),
        text("qlb_GenDrNm1", "S_STRING20"),
        text("qrl_address", "S_STRING21"),
        text("qrlb_telno", "S_STRING22"),
        text("qlb_death", "S_STRING23"),
        custom({"QRLabel26", "QRLabel27", "QRLabel28", "QRLabel29", "QRLabel30", "QRLabel31", "QRLabel32",
                "QRLabel35", "qlb_Dead"},
               {"S_STRING17"}, &markState),
        custom({"QRLabel37", "QRLabel38", "QRLabel39", "QRLabel58"}, {"S_STRING18"}, &markManner),
        custom(bind::numbered("qrlb_InInfect", 1, 7), {"S_STRING19"}, &markInfection),
        text("qrme_Diag1", "S_STRING24"),
        text("qrme_Diag2", "S_STRING25"),
        text("qrme_Opnm", "S_STRING26"),
        text("qrme_Progress", "S_STRING27"),
        custom({"QRLabel44", "QRLabel45", "qlb_oprev"}, {"S_STRING28"}, &fillOutpatientPlan),
        custom({"QRLabel49", "QRLabel51"}, {"S_STRING45"}, &fillConfirmation),
        custom({"qlb_Drg"}, {"S_STRING47"}, [](engine::Report &r, const FieldValues &v) {
            r.label("qlb_Drg").setEnabled(v["S_STRING47"] == "Y");
        }),
        custom({"qlb_Admpath"}, {"S_STRING48"}, [](engine::Report &r, const FieldValues &v) {
            r.label("qlb_Admpath").setEnabled(v["S_STRING48"] == "1");
        }),
        custom({"qrme_Data"}, narrativeValues(),
               [](engine::Report &r, const FieldValues &v) {
                   SetMemoText(r.memo("qrme_Data"), DischargeNarrativeSections(v));
               }),
    };
}

} // namespace

int DischargeCode(const std::string &text, const std::string &what)
{
    const auto code = common::WholeNumber(text);
    if (!code)
        throw std::invalid_argument(what + " 코드가 숫자가 아닙니다: '" + text + "'");
    return *code;
}

std::string ConfirmationCaption(const std::string &dateWritten)
{
    return dateWritten.substr(0, 10) < "2019-09-01" ? "의무기록사 확인일:" : "보건의료정보관리사 확인일:";
}

std::string OutpatientPlanFragment(const std::string &plan)
{
    const std::string trimmed = common::Trimmed(plan);
    const auto open = trimmed.find('(');
    return open == std::string::npos ? trimmed : trimmed.substr(open);
}

std::string DischargeNarrative(const FieldValues &values) { return DischargeNarrativeSections(values).text(); }

SectionText DischargeNarrativeSections(const FieldValues &values)
{
    SectionText note = ComposeSections(narrativeOpening(), values);
    if (isTransfer(values["S_STRING18"]))
        note.append(ComposeSections(narrativeTransfer(), values));
    return note.append(ComposeSections(narrativeClosing(), values));
}

const std::vector<FormBindings> &DischargeSummaryForms()
{
    static const std::vector<FormBindings> forms{{.fill = summaryBindings()}};
    return forms;
}

BlockResult PrintDischargeSummary(RecordPrint &print)
{
    // The record is asked for by its admission date alone.
    return PrintOneRowRecord(print, {1}, [](const RecordPrint &p) {
        return PrintedSummary{.meddate = p.cell(1),
                              .dschdate = p.cell(2),
                              .patgubun = "I",
                              .meddept = p.cell(5),
                              .chadr = p.cell(4)};
    });
}

} // namespace medrec::reports
