#include "PhysicianNotes.h"

#include "NoteSections.h"
#include "PrintContext.h"
#include "RecordFields.h"
#include "ReportForms.h"

#include "DateText.h"
#include "Hmdrecodt.h"

#include "report_engine/Report.h"

namespace medrec::reports {

namespace {

using Label = NoteSection::Label;

constexpr std::string_view kTwentyBlanks = "                    ";

// The line of dates that opens every note: CR LF, caption, value, twenty blanks, "작성일시:",
// the date written, two breaks.
std::vector<NoteSection> opening(std::string_view caption, std::string_view field, std::string_view written)
{
    return {{"", 1, "", 0}, {caption, 0, field, 0}, {kTwentyBlanks, 0, "", 0}, {"작성일시:", 0, written, 2}};
}

// Headed sections (heading, two breaks, value, two breaks) of consecutive fields from `first` on.
std::vector<NoteSection> sections(std::initializer_list<std::string_view> headings, int first)
{
    // The rows hold views of the field names: the names live here.
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (int i = 0; i <= 60; ++i)
            n.push_back("S_STRING" + std::to_string(i));
        return n;
    }();
    std::vector<NoteSection> rows;
    for (std::string_view heading : headings)
        rows.push_back({heading, 2, names[static_cast<std::size_t>(first++)], 2});
    return rows;
}

std::vector<NoteSection> concat(std::initializer_list<std::vector<NoteSection>> parts)
{
    std::vector<NoteSection> rows;
    for (const auto &part : parts)
        rows.insert(rows.end(), part.begin(), part.end());
    return rows;
}

const std::vector<NoteSection> &reEvaluationRows()
{
    static const std::vector<NoteSection> rows = concat({
        opening("입원(전과)일시:", "cell5", "S_STRING1"),
        sections({"■주관적 소견(S)】", "■객관적 소견(O)】", "■계통문진(R.O.S)】", "■신체검진(P.Ex)】", "■진단명(A)】",
                  "■진료계획(P)】"},
                 2),
        {{"■치료목표】", 1, "", 0},
         {"         (Problem) : ", 0, "S_STRING8", 1},
         {"         (CareGoal) : ", 0, "S_STRING9", 1},
         {"         (목표일자) : ", 0, "S_STRING10", 2},
         {"■퇴원계획】", 2, "S_STRING11", 2},
         {"■작성의사】", 0, "S_STRING12", 0}},
    });
    return rows;
}

const std::vector<NoteSection> &emergencyRows()
{
    static const std::vector<NoteSection> rows = concat({
        opening("도착일시:", "S_STRING7", "S_STRING8"),
        sections({"■C.C】", "■P.Ix】", "■P.Hx】", "■Family Hx.】", "■Social Hx.】", "■R.O.S】", "■P.Ex】",
                  "■Impression】", "■Plan】", "■통합노트】", "■작성의사】"},
                 9),
    });
    return rows;
}

// Treatment goal n (1 to 5): problem, care goal and target date, each labelled only when
// written.
std::vector<NoteSection> goal(int n, std::string_view problem, std::string_view careGoal, std::string_view date)
{
    // The rows hold views of the labels: the labels live here.
    static const std::vector<std::string> labels = [] {
        std::vector<std::string> l;
        for (int i = 1; i <= 5; ++i) {
            const std::string k = std::to_string(i);
            l.push_back("         (Problem" + k + ") : ");
            l.push_back("         (CareGoal" + k + ") : ");
            l.push_back("         (목표일자" + k + ") : ");
        }
        return l;
    }();
    const auto at = static_cast<std::size_t>(3 * (n - 1));
    return {{labels[at], 0, problem, 1, Label::WhenFilled},
            {labels[at + 1], 0, careGoal, 1, Label::WhenFilled},
            {labels[at + 2], 0, date, 2, Label::WhenFilled}};
}

const std::vector<NoteSection> &admissionRows()
{
    static const std::vector<NoteSection> rows = concat({
        opening("입원일시:", "S_STRING8", "S_STRING9"),
        sections({"■C.C】", "■P.Ix】", "■P.Hx】", "■Family Hx.】", "■Social Hx.】", "■R.O.S】", "■P.Ex】",
                  "■Impression】"},
                 10),
        {{"■Care Plan】", 1, "", 0},
         {"   【1. 진단 및 병리 검사 계획】", 1, "S_STRING18", 2},
         {"   【2. 영상 검사 계획】", 2, "S_STRING19", 2},
         {"   【3. 투약 및 통증 관리 계획】", 2, "S_STRING20", 2},
         {"   【4. 수술 및 내과적 치료 계획】", 2, "S_STRING21", 2},
         {"   【5. 상처 치료 계획】", 2, "S_STRING22", 2},
         {"■치료목표】", 1, "", 0}},
        goal(1, "S_STRING23", "S_STRING24", "S_STRING25"),
        goal(2, "S_STRING26", "S_STRING27", "S_STRING28"),
        goal(3, "S_STRING29", "S_STRING30", "S_STRING31"),
        goal(4, "S_STRING32", "S_STRING33", "S_STRING34"),
        goal(5, "S_STRING35", "S_STRING36", "S_STRING37"),
        {{"■Discharge Plan】", 1, "", 0},
         {"   【1. 퇴원 예정일】", 2, "S_STRING38", 2},
         {"   【2. 퇴원 계획】", 2, "", 0},
         {"         (퇴원후 가는곳) : ", 0, "S_STRING39", 1},
         {"         (퇴원 조건) : ", 0, "S_STRING40", 1},
         {"         (유지 및 치료계획) : ", 0, "S_STRING41", 1},
         {"         (FollowUp 계획) : ", 0, "S_STRING42", 2},
         {"■작성의사】", 2, "S_STRING43", 2}},
    });
    return rows;
}

// What tells the three notes apart: service key, header sources and summary sources, by
// value name ("" = empty text).
struct NoteForm
{
    const char *code, *unit, *form;
    int keyCells; // cells 1 .. keyCells go out as "S_STRING2" onwards
    const char *titleBefore, *titleField, *titleAfter;
    const char *patNo, *name, *birthDate; // birthDate: YYYYMMDD, printed through FmtDate
    const char *dateLabel, *dateField;
    const char *ward; // nullptr: the form's ward row is never filled
    const char *doctorLabel, *doctorField;
    // Summary: meddate, dschdate, patgubun (a literal), meddept, chadr.
    const char *meddate, *dschdate, *patgubun, *meddept, *chadr;
    int historyCells; // cells 2 .. historyCells go into the history row's a3 onwards
    const std::vector<NoteSection> &(*rows)();
};

const NoteForm kReEvaluation{"MDREADMT", "MDO540U1_P01", "TMDO540F1_P01", 2,
                             "", "S_STRING15", " 재평가 기록",
                             "cell0", "panel.name", "panel.birthDate",
                             "qrlb_Admdate", "cell1",
                             "S_STRING17",
                             "qrlb_Chadrnm", "S_STRING16",
                             "cell1.plain", "S_STRING18", "I", "S_STRING15", "S_STRING19",
                             2, &reEvaluationRows};
const NoteForm kEmergency{"MDEMNOTT", "MDO550U1_P01", "TMDO550F1_P01", 4,
                          "EM Note (", "S_STRING1", ")",
                          "S_STRING2", "S_STRING3", "S_STRING4",
                          "qrlb_Meddate", "S_STRING5",
                          nullptr,
                          "qrlb_Meddrnm", "S_STRING6",
                          "cell1", "", "E", "cell3", "cell4",
                          4, &emergencyRows};
const NoteForm kAdmission{"MDADMNOT", "MDO530U1_P01", "TMDO530F1_P01", 2,
                          "", "S_STRING1", " Admission Note",
                          "S_STRING2", "S_STRING3", "S_STRING4",
                          "qrlb_Admdate", "S_STRING5",
                          "S_STRING6",
                          "qrlb_Chadrnm", "S_STRING7",
                          "cell2", "S_STRING45", "I", "cell1", "S_STRING44",
                          2, &admissionRows};

std::string valueOf(const FieldValues &values, const char *name)
{
    return *name ? values[name] : std::string();
}

BindingTable noteBindings(const NoteForm &note)
{
    using namespace bind;
    BindingTable table = {
        custom({"qrlb_Title"},
               [&note](engine::Report &r, const FieldValues &v) {
                   r.label("qrlb_Title").setCaption(note.titleBefore + v[note.titleField] + note.titleAfter);
               }),
        text("qrlb_PatNo", note.patNo),
        text("qrlb_patname", note.name),
        text("qrlb_birtdate", Source(note.birthDate, [](const std::string &d) { return common::FmtDate(d); })),
        text(note.dateLabel, note.dateField),
        text(note.doctorLabel, note.doctorField),
        custom({"qrme_Data"},
               [&note](engine::Report &r, const FieldValues &v) {
                   SetMemoText(r.memo("qrme_Data"), ComposeSections(note.rows(), v));
               }),
    };
    if (note.ward)
        table.push_back(text("qrlb_wardroom", note.ward));
    return table;
}

// The record's values, the cells of the selected row and the patient panels.
FieldValues noteValues(const services::Hmdrecodt &data, const PrintContext &context)
{
    FieldValues values = RecordFields(data);
    for (int cell = 0; cell <= 5; ++cell)
        values.set("cell" + std::to_string(cell), context.record[cell]);
    values.set("cell1.plain", common::UnFmtDate(context.record[1]));
    values.set("panel.name", context.patient.name);
    values.set("panel.birthDate", context.patient.birthDate);
    return values;
}

BlockResult printNote(const NoteForm &note, PrintContext &context)
{
    const RowCells &cells = context.record;
    std::string key[4];
    for (int i = 0; i < note.keyCells; ++i)
        key[i] = cells[i + 1];
    services::Hmdrecodt data;
    if (auto stop = Fetched(data.GetRecodData(note.code, cells[0], key[0], key[1], key[2], key[3]), kNothingToPrint))
        return *stop;
    const FieldValues values = noteValues(data, context);

    PrintJob job;
    engine::Report &report = job.add(MakeReport(note.unit, note.form));
    ApplyBindings(report, noteBindings(note), values);
    job.summary = {cells[0],
                   valueOf(values, note.meddate),
                   valueOf(values, note.dschdate),
                   note.patgubun,
                   valueOf(values, note.meddept),
                   valueOf(values, note.chadr)};
    HistoryRow row{cells[0], cells[1]};
    std::string *rest[] = {&row.a3, &row.a4, &row.a5};
    for (int cell = 2; cell <= note.historyCells; ++cell)
        *rest[cell - 2] = cells[cell];
    job.history = {row};
    return job;
}

} // namespace

BlockResult PrintReEvaluationNote(PrintContext &context) { return printNote(kReEvaluation, context); }
BlockResult PrintEmergencyNote(PrintContext &context) { return printNote(kEmergency, context); }
BlockResult PrintAdmissionNote(PrintContext &context) { return printNote(kAdmission, context); }

std::vector<FormBindings> ReEvaluationNoteBindings() { return {{kReEvaluation.form, noteBindings(kReEvaluation)}}; }
std::vector<FormBindings> EmergencyNoteBindings() { return {{kEmergency.form, noteBindings(kEmergency)}}; }
std::vector<FormBindings> AdmissionNoteBindings() { return {{kAdmission.form, noteBindings(kAdmission)}}; }

std::string ReEvaluationNoteText(const FieldValues &values) { return ComposeNote(reEvaluationRows(), values); }
std::string EmergencyNoteText(const FieldValues &values) { return ComposeNote(emergencyRows(), values); }
std::string AdmissionNoteText(const FieldValues &values) { return ComposeNote(admissionRows(), values); }

} // namespace medrec::reports
