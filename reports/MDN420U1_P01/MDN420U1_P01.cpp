#include "MDN420U1_P01.h"

#include "NursingLines.h"

#include "PatientHeader.h"
#include "PrintContext.h"
#include "RecordFields.h"
#include "ReportForms.h"
#include "StagedRows.h"

#include "DateText.h"
#include "HmdPatInf.h"
#include "Hmdrecodt.h"
#include "TextHelpers.h"

#include "report_engine/Report.h"

namespace medrec::reports {

namespace {

constexpr const char *kWardCode = "MDNRRECT";
constexpr const char *kEmergencyCode = "MDNERECT";
constexpr const char *kUnit = "MDN420U1_P01";
constexpr const char *kForm = "TMDN420F1_P01";
constexpr const char *kFormNumber = "KRV 82-N-5-28";

constexpr const char *kTitle = "form.title";
constexpr const char *kNumber = "form.number";

// Where the detail band's parts stand while they print, and where they hide.
constexpr double kTextTop = engine::px(3);
constexpr double kHidden = engine::px(-2000);
constexpr double kRuleTop = engine::px(19);
constexpr double kRuleAway = engine::px(1000);
constexpr const char *kNoteParts[] = {"qrlb_Data1", "qrlb_Data2", "qrlb_Data3", "qrlb_Data4"};
constexpr const char *kColumnLines[] = {"HLine1", "HLine2", "HLine3"};

const BindingTable &nursingBindings()
{
    static const BindingTable table = [] {
        BindingTable t = HeaderBindings({"qrlb_PatNo", "qrlb_patname", "qrlb_Resno", "qrlb_sexage",
                                         "qrlb_Deptnm", "qrl_chadr", "qrlb_Roomno"});
        // Set before the run: the engine lays page 1's header out before the first record.
        t.push_back(bind::text("qrlb_Title", kTitle));
        t.push_back(bind::text("QRLabel3", kTitle));
        t.push_back(bind::text("QRLabel190", kNumber));
        return t;
    }();
    return table;
}

std::string trimmed(const std::string &text)
{
    return std::string(common::TrimBlanks(text));
}

bool isDayHeader(const StagedRows &rows)
{
    return rows.cell(nursing_col::kMark) == kDayMark;
}

// A row's first line places the band's parts for a note or for a day header.
void placeParts(engine::Report &r, bool dayHeader)
{
    r.detail().setColor(dayHeader ? engine::Color::silver() : engine::Color::white());
    for (const char *name : kNoteParts)
        r.label(name).setTop(dayHeader ? kHidden : kTextTop);
    for (const char *name : kColumnLines)
        r.line(name).setTop(dayHeader ? kHidden : 0);
    r.label("qrlb_date").setTop(dayHeader ? kTextTop : kHidden);
}

std::vector<std::string> wrapRow(engine::Report &r, const StagedRows &rows)
{
    if (isDayHeader(rows))
        return {rows.cell(nursing_col::kText)};
    // Wrapped in the weight it prints in, so the breaks are the printed ones.
    r.label("qrlb_Data4").setBold(PrintsBold(rows.cell(nursing_col::kTime)));
    return r.wrapLines("qrlb_Data4", rows.cell(nursing_col::kText));
}

void fillLine(engine::Report &r, const LineStep &step)
{
    using namespace nursing_col;
    const StagedRows &rows = step.rows;
    const bool dayHeader = isDayHeader(rows);
    if (step.first())
        placeParts(r, dayHeader);
    r.label("qrlb_Data1").setCaption(step.first() ? common::FmtDate(trimmed(rows.cell(kDate))) : "");
    r.label("qrlb_Data2").setCaption(step.first() ? trimmed(rows.cell(kTime)) : "");
    engine::Label &content = r.label("qrlb_Data4");
    content.setBold(PrintsBold(rows.cell(kTime)));
    content.setCaption(step.text);
    if (dayHeader)
        r.label("qrlb_date").setCaption(rows.cell(kText));
    r.line("LineBottom").moveTo(step.last() ? 0 : kRuleAway, kRuleTop);
    r.label("qrlb_Data3").setCaption(step.last() ? trimmed(rows.cell(kNurse)) : "");
}

struct KindRules
{
    NursingKind kind;
    const char *title;
};

// What both kinds do once their header is known: stage the lines, fill the form, and say
// what the summary and the history get.
BlockResult printNotes(PrintContext &context, const KindRules &rules, const services::Hmdrecodt &data,
                       int rows, FieldValues values, std::optional<common::Date> admission,
                       const std::string &meddept)
{
    const RowCells &record = context.record;
    StagePrintLines(context.scratch.allList, rules.kind, NoteEntries(rules.kind, data, rows), admission);
    values.set(kTitle, rules.title);
    values.set(kNumber, kFormNumber);

    PrintJob job;
    engine::Report &report = job.add(MakeReport(kUnit, kForm));
    ApplyBindings(report, nursingBindings(), values);
    FeedNursingLines(report, context.scratch.allList);
    job.summary = {record[0], record[1], record[2], record[6], meddept, record[4]};
    job.history = {{record[0], record[1], record[2]}};
    return job;
}

} // namespace

void FeedNursingLines(engine::Report &report, common::GridData lines)
{
    FeedLines(report, std::move(lines), wrapRow, fillLine);
}

std::vector<FormBindings> NursingRecordBindings()
{
    return {{kForm, nursingBindings()}};
}

BlockResult PrintNursingRecord(PrintContext &context)
{
    const RowCells &record = context.record;
    services::Hmdrecodt data;
    const int rows = data.GetRecodData(kWardCode, record[0], record[1], record[2], "", "");
    if (auto stop = Fetched(rows, kNothingToPrint))
        return *stop;

    FieldValues values = RecordFields(data);
    PatientHeader header;
    header.patNo = values["S_STRING1"];
    header.sexAge = values["S_STRING2"];
    header.name = values["S_STRING3"];
    header.resNo = values["S_STRING4"];
    header.dept = values["S_STRING5"];
    header.doctor = values["S_STRING6"];
    header.ward = values["S_STRING7"];
    header.addTo(values);
    // Hospital days count from the visit the record belongs to.
    return printNotes(context, {NursingKind::Ward, "간호기록지"}, data, rows, std::move(values),
                      VisitAdmission(context.visit[1]), record[5]);
}

BlockResult PrintEmergencyNursingRecord(PrintContext &context)
{
    const RowCells &record = context.record;
    services::HmdPatInf inpatient;
    if (auto stop = Fetched(inpatient.GetIpdInf("1", record[0], "", "EB1", ""),
                            Notice::box("조회된 자료가 없습니다!")))
        return *stop;
    services::Hmdrecodt data;
    const int rows = data.GetRecodData(kEmergencyCode, record[0], record[1], record[2], "", "");
    if (auto stop = Fetched(rows, kNothingToPrint))
        return *stop;

    FieldValues values;
    PatientHeader header = PatientHeader::fromPanels(context.patient);
    header.dept = inpatient.code(6).front();
    header.doctor = record[5];
    header.ward = inpatient.code(22).front() + "/" + inpatient.code(23).front();
    header.addTo(values);
    return printNotes(context, {NursingKind::Emergency, "응급간호기록지"}, data, rows, std::move(values),
                      InpatientAdmission(inpatient.code(3).front()), record[3]);
}

} // namespace medrec::reports
