#include "MDO530U1_P01.h"

#include "PhysicianNote.h"
#include "RecordContent.h"
#include "RecordPrint.h"

namespace medrec::reports {

namespace {

// Treatment goal n (1 to 5) from "S_STRING<first>" on: problem, care goal and target date,
// each labelled only when written.
std::vector<NoteSection> goal(int n, int first)
{
    const std::string k = std::to_string(n);
    auto field = [first](int i) { return "S_STRING" + std::to_string(first + i); };
    using Label = NoteSection::Label;
    return {{"         (Problem" + k + ") : ", 0, field(0), 1, Label::WhenFilled},
            {"         (CareGoal" + k + ") : ", 0, field(1), 1, Label::WhenFilled},
            {"         (목표일자" + k + ") : ", 0, field(2), 2, Label::WhenFilled}};
}

const std::vector<NoteSection> &noteSections()
{
    static const std::vector<NoteSection> rows = NoteParts({
        NoteOpening("입원일시:", "S_STRING8", "S_STRING9"),
        HeadedSections({"■C.C】", "■P.Ix】", "■P.Hx】", "■Family Hx.】", "■Social Hx.】", "■R.O.S】", "■P.Ex】",
                        "■Impression】"},
                       10),
        {{"■Care Plan】", 1, "", 0},
         {"   【1. 진단 및 병리 검사 계획】", 1, "S_STRING18", 2},
         {"   【2. 영상 검사 계획】", 2, "S_STRING19", 2},
         {"   【3. 투약 및 통증 관리 계획】", 2, "S_STRING20", 2},
         {"   【4. 수술 및 내과적 치료 계획】", 2, "S_STRING21", 2},
         {"   【5. 상처 치료 계획】", 2, "S_STRING22", 2},
         {"■치료목표】", 1, "", 0}},
        goal(1, 23),
        goal(2, 26),
        goal(3, 29),
        goal(4, 32),
        goal(5, 35),
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

// The birth date prints as the service delivers it.
const NoteHeader &noteHeader()
{
    static const NoteHeader header{
        .title = "S_STRING1",
        .titleAfter = " Admission Note",
        .patNo = "S_STRING2",
        .name = "S_STRING3",
        .birthDate = "S_STRING4",
        .dateLabel = "qrlb_Admdate",
        .date = "S_STRING5",
        .ward = Source("S_STRING6"),
        .doctorLabel = "qrlb_Chadrnm",
        .doctor = "S_STRING7",
    };
    return header;
}

} // namespace

std::string AdmissionNoteText(const FieldValues &values) { return ComposeNote(noteSections(), values); }

const std::vector<FormBindings> &AdmissionNoteForms()
{
    static const std::vector<FormBindings> forms{{.fill = NoteBindings(noteHeader(), noteSections())}};
    return forms;
}

BlockResult PrintAdmissionNote(RecordPrint &print)
{
    return PrintOneRowRecord(
        print, {1, 2},
        [](const RecordPrint &p) {
            const FieldValues &v = p.values;
            return PrintedSummary{.meddate = p.cell(2),
                                  .dschdate = v["S_STRING45"],
                                  .patgubun = "I",
                                  .meddept = p.cell(1),
                                  .chadr = v["S_STRING44"]};
        });
}

} // namespace medrec::reports
