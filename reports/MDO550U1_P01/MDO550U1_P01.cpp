#include "MDO550U1_P01.h"

#include "PhysicianNote.h"
#include "RecordContent.h"
#include "RecordPrint.h"

namespace medrec::reports {

namespace {

const std::vector<NoteSection> &noteSections()
{
    static const std::vector<NoteSection> rows = NoteParts({
        NoteOpening("도착일시:", "S_STRING7", "S_STRING8"),
        HeadedSections({"■C.C】", "■P.Ix】", "■P.Hx】", "■Family Hx.】", "■Social Hx.】", "■R.O.S】", "■P.Ex】",
                        "■Impression】", "■Plan】", "■통합노트】", "■작성의사】"},
                       9),
    });
    return rows;
}

// The birth date prints as the service delivers it.
const NoteHeader &noteHeader()
{
    static const NoteHeader header{
        .titleBefore = "EM Note (",
        .title = "S_STRING1",
        .titleAfter = ")",
        .patNo = "S_STRING2",
        .name = "S_STRING3",
        .birthDate = "S_STRING4",
        .dateLabel = "qrlb_Meddate",
        .date = "S_STRING5",
        .doctorLabel = "qrlb_Meddrnm",
        .doctor = "S_STRING6",
    };
    return header;
}

} // namespace

std::string EmergencyNoteText(const FieldValues &values) { return ComposeNote(noteSections(), values); }

const std::vector<FormBindings> &EmergencyNoteForms()
{
    static const std::vector<FormBindings> forms{{.fill = NoteBindings(noteHeader(), noteSections())}};
    return forms;
}

BlockResult PrintEmergencyNote(RecordPrint &print)
{
    return PrintOneRowRecord(print, {1, 2, 3, 4}, [](const RecordPrint &p) {
        return PrintedSummary{.meddate = p.cell(1), .patgubun = "E", .meddept = p.cell(3), .chadr = p.cell(4)};
    });
}

} // namespace medrec::reports
