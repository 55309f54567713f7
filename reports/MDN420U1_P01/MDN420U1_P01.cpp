#include "MDN420U1_P01.h"

#include "NursingLines.h"

#include "ContextValues.h"
#include "DatedJournal.h"
#include "PatientHeader.h"
#include "PrintContext.h"
#include "RecordContent.h"
#include "RecordPrint.h"

#include "HmdPatInf.h"

namespace medrec::reports {

namespace {

constexpr const char *kFormNumber = "KRV 82-N-5-28";

const JournalParts &journalParts()
{
    static const JournalParts parts{.dayText = "qrlb_date"};
    return parts;
}

// The two kinds differ only in the title their header and footer print.
std::vector<FormBindings> nursingForms(const char *title)
{
    return {{.fill = Concat({HeaderBindings({"qrlb_PatNo", "qrlb_patname", "qrlb_Resno", "qrlb_sexage",
                                             "qrlb_Deptnm", "qrl_chadr", "qrlb_Roomno"}),
                             {bind::literal("qrlb_Title", title), bind::literal("QRLabel3", title),
                              bind::literal("QRLabel190", kFormNumber)}}),
             .detail = JournalBindings(journalParts())}};
}

// What both kinds do once their header is in the values: stage the notes, fill the form.
PrintJob printNotes(RecordPrint &print, NursingKind kind, const RecordContent &content,
                    std::optional<common::Date> admission)
{
    common::GridData &lines = print.context.scratch.allList;
    StagePrintLines(lines, kind, NoteEntries(kind, content), admission);
    PrintJob job;
    engine::Report &report = print.addReport(job);
    FeedJournal(report, lines, print.detail(), journalParts().text);
    return job;
}

} // namespace

const std::vector<FormBindings> &NursingRecordForms()
{
    static const std::vector<FormBindings> forms = nursingForms("간호기록지");
    return forms;
}

const std::vector<FormBindings> &EmergencyNursingRecordForms()
{
    static const std::vector<FormBindings> forms = nursingForms("응급간호기록지");
    return forms;
}

BlockResult PrintNursingRecord(RecordPrint &print)
{
    auto content = FetchRecordContent(print, {1, 2});
    if (!content)
        return content.stop();
    const FieldValues first = content->row(0);
    const PatientHeader header{.patNo = first["S_STRING1"],
                               .name = first["S_STRING3"],
                               .resNo = first["S_STRING4"],
                               .sexAge = first["S_STRING2"],
                               .dept = first["S_STRING5"],
                               .doctor = first["S_STRING6"],
                               .ward = first["S_STRING7"]};
    header.addTo(print.values);
    // Hospital days count from the visit the record belongs to.
    PrintJob job = printNotes(print, NursingKind::Ward, *content, VisitAdmission(print.context.visit[1]));
    job.summary = {.meddate = print.cell(1),
                   .dschdate = print.cell(2),
                   .patgubun = print.cell(6),
                   .meddept = print.cell(5),
                   .chadr = print.cell(4)};
    return job;
}

BlockResult PrintEmergencyNursingRecord(RecordPrint &print)
{
    services::HmdPatInf inpatient;
    if (auto stop = Fetched(inpatient.GetIpdInf("1", print.cell(0), "", "EB1", ""),
                            Notice::box("조회된 자료가 없습니다!")))
        return *stop;
    auto content = FetchRecordContent(print, {1, 2});
    if (!content)
        return content.stop();
    PatientHeader header = PatientHeader::fromPanels(print.context.patient);
    header.dept = inpatient.code(6).front();
    header.doctor = print.cell(5);
    header.ward = inpatient.code(22).front() + "/" + inpatient.code(23).front();
    header.addTo(print.values);
    PrintJob job =
        printNotes(print, NursingKind::Emergency, *content, InpatientAdmission(inpatient.code(3).front()));
    job.summary = {.meddate = print.cell(1),
                   .dschdate = print.cell(2),
                   .patgubun = print.cell(6),
                   .meddept = print.cell(3),
                   .chadr = print.cell(4)};
    return job;
}

} // namespace medrec::reports
