#include "MDO540U1_P01.h"

#include "ContextValues.h"
#include "PhysicianNote.h"
#include "RecordContent.h"
#include "RecordPrint.h"

#include "DateText.h"

namespace medrec::reports {

namespace {

const std::vector<NoteSection> &noteSections()
{
    static const std::vector<NoteSection> rows = NoteParts({
        NoteOpening("입원(전과)일시:", value::record(5), "S_STRING1"),
        HeadedSections({"■주관적 소견(S)】", "■객관적 소견(O)】", "■계통문진(R.O.S)】", "■신체검진(P.Ex)】",
                        "■진단명(A)】", "■진료계획(P)】"},
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

// Only this note formats its birth date: the screen's panel holds it as YYYYMMDD.
const NoteHeader &noteHeader()
{
    static const NoteHeader header{
        .title = "S_STRING15",
        .titleAfter = " 재평가 기록",
        .patNo = value::record(0),
        .name = value::kPanelName,
        .birthDate = {value::kPanelBirthDate, [](const std::string &date) { return common::FmtDate(date); }},
        .dateLabel = "qrlb_Admdate",
        .date = value::record(1),
        .ward = Source("S_STRING17"),
        .doctorLabel = "qrlb_Chadrnm",
        .doctor = "S_STRING16",
    };
    return header;
}

} // namespace

std::string ReEvaluationNoteText(const FieldValues &values) { return ComposeNote(noteSections(), values); }

const std::vector<FormBindings> &ReEvaluationNoteForms()
{
    static const std::vector<FormBindings> forms{{.fill = NoteBindings(noteHeader(), noteSections())}};
    return forms;
}

BlockResult PrintReEvaluationNote(RecordPrint &print)
{
    return PrintOneRowRecord(
        print, {1, 2},
        [](const RecordPrint &p) {
            const FieldValues &v = p.values;
            return PrintedSummary{.meddate = common::UnFmtDate(p.cell(1)),
                                  .dschdate = v["S_STRING18"],
                                  .patgubun = "I",
                                  .meddept = v["S_STRING15"],
                                  .chadr = v["S_STRING19"]};
        });
}

} // namespace medrec::reports
