#include "MHE700U1_P01.h"

#include "ContextValues.h"
#include "PrintContext.h"
#include "RecordContent.h"
#include "RecordPrint.h"
#include "StagedRows.h"

#include "Cp949.h"
#include "DateText.h"
#include "FieldResults.h"
#include "HmdIjdayt.h"
#include "HmhHdrect.h"
#include "TextHelpers.h"

#include "report_engine/Report.h"

#include <algorithm>
#include <array>

namespace medrec::reports {

namespace {

constexpr const char *kChecked = "■";
constexpr std::size_t kTreatmentForm = 0;
constexpr std::size_t kNotesForm = 1;

std::string field(int number)
{
    return "S_STRING" + std::to_string(number);
}

// CP949 byte positions from .. to (1-based, inclusive).
std::string chars(const std::string &text, std::size_t from, std::size_t to)
{
    return text::cp949Slice(text, from - 1, to - from + 1);
}

Source dateTime(int number)
{
    return {field(number), common::FmtDateTimeHM};
}

// The framed check boxes: "■" for each "Y" of the field, nothing otherwise.
Binding boxes(std::vector<std::string> labels, int number)
{
    return bind::flagTexts(std::move(labels), field(number), kChecked, "");
}

struct PatientLabels
{
    const char *patNo, *name, *patientClass, *visitDate;
};

BindingTable patientBindings(const PatientLabels &labels)
{
    using namespace bind;
    return {
        text(labels.patNo, value::kPanelPatNo),
        text(labels.name, value::kPanelName),
        text(labels.patientClass, {value::record(5), PatientClassText}),
        text(labels.visitDate, {value::record(1), common::FmtDate}),
    };
}

// The half-hourly nursing checks: character k of the time's field answers question k.
BindingTable nursingChecks()
{
    static const std::array<const char *, 7> times{"30M", "1H", "1H30M", "2H", "2H30M", "3H", "3H30M"};
    BindingTable table;
    for (std::size_t t = 0; t < times.size(); ++t)
        table.push_back(
            boxes(bind::numbered(std::string("qrlb_") + times[t] + "_", 1, 4), 23 + static_cast<int>(t)));
    return table;
}

BindingTable treatmentBindings()
{
    using namespace bind;
    return Concat({
        patientBindings({"qrlb_Patno", "qrlb_PatName", "qrlb_Patsect", "qrlb_Meddate"}),
        {
            boxes({"qrlb_CauA", "qrlb_CauB", "qrlb_CauC", "qrlb_CauD", "qrlb_CauEtc"}, 1),
            text("qrlb_CauEtc1", field(2)),
            text("qrlb_Recdate", dateTime(3)),
            text("qrlb_Recname", field(5)),
            text("qrlb_Begindate", dateTime(7)),
            text("qrlb_Enddate", dateTime(8)),
            text("qrlb_VisitPath", field(6)),
            // vital signs before, during and after dialysis
            text("qrlb_VsBegindate", dateTime(39)),
            text("qrlb_VsBegin", field(9)),
            text("qrlb_VsBgPls", field(42)),
            text("qrlb_VsBgResp", field(43)),
            text("qrlb_VsBgBld", field(44)),
            text("qrlb_VsMiddledate", dateTime(40)),
            text("qrlb_VsMiddle", field(35)),
            text("qrlb_VsMdPls", field(45)),
            text("qrlb_VsMdResp", field(46)),
            text("qrlb_VsMdBld", field(47)),
            text("qrlb_VsEnddate", dateTime(41)),
            text("qrlb_VsEnd", field(10)),
            text("qrlb_VsEdPls", field(48)),
            text("qrlb_VsEdResp", field(49)),
            text("qrlb_VsEdBld", field(50)),
            // weights and machine settings
            text("qrlb_Weight", field(11)),
            text("qrlb_BefWeight", field(12)),
            text("qrlb_UF", field(14)),
            text("qrlb_AftWeight", field(13)),
            text("qrlb_BldSpeed", field(15)),
            text("qrlb_Anticaog", field(16)),
            text("qrlb_Capa1", field(17)),
            text("qrlb_Capa2", field(18)),
            text("qrlb_Veinpres", field(51)),
            text("qrlb_Liquid", field(19)),
            text("qrlb_Kind", field(20)),
            text("qrlb_EquipKind", field(21)),
            boxes(numbered("qrlb_Pass", 1, 5), 22),
        },
        nursingChecks(),
        {
            boxes(numbered("qrlb_Opin", 1, 3), 30),
            boxes(numbered("qrlb_Fall", 1, 5), 31),
            text("qrmm_TransText", field(33)),
            text("qrmm_Remark", field(34)),
        },
    });
}

void stageOrder(const services::FieldResults &rows, std::size_t i, int number, common::GridData &list)
{
    const std::string &orderDate = rows.value("S_ORDDATE", i);
    list.setRowCells(list.fixedRows() + number - 1,
                     {std::to_string(number),
                      chars(orderDate, 5, 6) + "-" + chars(orderDate, 7, 8) + " " + rows.value("S_CODE3", i),
                      common::Trimmed(rows.value("S_CODE6", i) + rows.value("S_CODE7", i)),
                      rows.value("S_CODE4", i), rows.value("S_CODE2", i), rows.value("S_CODE8", i)});
}

} // namespace

std::string PatientClassText(const std::string &code)
{
    if (code == "O")
        return "외래";
    if (code == "I")
        return "입원";
    if (code == "E")
        return "응급";
    return code;
}

int StageOrders(const services::FieldResults &medications, int medicationRows,
                const services::FieldResults &treatments, int treatmentRows, common::GridData &list)
{
    FreshPrintLines(list, std::max(medicationRows, 0) + std::max(treatmentRows, 0));
    int staged = 0;
    for (int i = 0; i < medicationRows; ++i)
        stageOrder(medications, static_cast<std::size_t>(i), ++staged, list);
    for (int i = 0; i < treatmentRows; ++i)
        if (treatments.value("S_CODE11", static_cast<std::size_t>(i)) == "IN")
            stageOrder(treatments, static_cast<std::size_t>(i), ++staged, list);
    return staged;
}

int StageNotes(const RecordContent &notes, common::GridData &list)
{
    FreshPrintLines(list, notes.rows());
    for (int i = 0; i < notes.rows(); ++i) {
        const std::string &date = notes.value(2, i), &time = notes.value(3, i);
        std::vector<std::string> cells{std::to_string(i + 1),
                                       chars(date, 3, 10) + " " + chars(time, 1, 2) + ":" + chars(time, 3, 4),
                                       notes.value(4, i), notes.value(5, i)};
        cells.resize(14);
        cells[11] = notes.value(1, i);
        cells[12] = date;
        cells[13] = time;
        list.setRowCells(list.fixedRows() + i, std::move(cells));
    }
    return notes.rows();
}

const std::vector<FormBindings> &HemodialysisRecordForms()
{
    static const std::vector<FormBindings> forms{
        {.fill = treatmentBindings(),
         .detail = ColumnTexts(
             {"qrlb_No", "qrlb_Orddate", "qrlb_Ordname", "qrlb_Orddr", "qrlb_Execdate", "qrlb_Execdr"})},
        {.fill = patientBindings({"qrlb_Patno1", "qrlb_Patname1", "qrlb_Patsect1", "qrlb_Meddate1"}),
         .detail = ColumnTexts({"qrlb_Num", "qrlb_Actdate", "qrmm_Acttxt", "qrlb_Actrecid"})},
    };
    return forms;
}

BlockResult PrintHemodialysisRecord(RecordPrint &print)
{
    const auto cell = [&](int n) -> const std::string & { return print.cell(n); };
    services::HmhHdrect record;
    if (auto stop = Fetched(record.GetHdrec(cell(0), cell(1), cell(2), cell(3)),
                            Notice::status("조회된 투석기록지 내용이 없습니다.")))
        return *stop;
    print.values.addRow(record.results);

    // The last list that came back empty is what the status line says once printed.
    std::string status;
    services::HmdIjdayt medications, treatments;
    const int medicationRows = medications.ListIjday("W", cell(0), cell(2));
    if (medicationRows < 0)
        return *Fetched(medicationRows, {});
    if (medicationRows == 0)
        status = "조회된 투약 자료가 없습니다.";
    const int treatmentRows = treatments.ListIjday("U", cell(0), cell(2));
    if (treatmentRows < 0)
        return *Fetched(treatmentRows, {});
    if (treatmentRows == 0)
        status = "조회된 처치 자료가 없습니다.";
    ScratchTables &scratch = print.context.scratch;
    const int orders =
        StageOrders(medications.results, medicationRows, treatments.results, treatmentRows, scratch.allList);

    // A copy that leaves out notes the service could not deliver would look whole: a failed
    // call stops the print like the others.
    auto notes = FetchRecordContent(print, {1, 2, 3}, Notice::status("조회된 투석간호기록 자료가 없습니다."));
    if (!notes && notes.stop().reason == NotPrinted::Reason::ServiceFailed)
        return notes.stop();

    PrintJob job;
    FeedDetailRows(print.addReport(job, kTreatmentForm), scratch.allList, orders,
                   print.detail(kTreatmentForm));
    if (notes) {
        const int rows = StageNotes(*notes, scratch.list);
        FeedDetailRows(print.addReport(job, kNotesForm), scratch.list, rows, print.detail(kNotesForm));
    } else {
        status = notes.stop().notice.text;
    }
    job.status = status;
    job.summary = {
        .meddate = cell(1), .dschdate = cell(4), .patgubun = cell(5), .meddept = cell(7), .chadr = cell(6)};
    return job;
}

} // namespace medrec::reports
