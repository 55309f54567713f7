#include "MDN110U1_P02.h"

#include "OrderLines.h"

#include "ContextValues.h"
#include "PatientHeader.h"
#include "PrintContext.h"
#include "RecordPrint.h"
#include "StagedRows.h"

#include "DateText.h"
#include "HmdOrderv.h"

#include "report_engine/Report.h"

namespace medrec::reports {

namespace {

// The selected record's cells: 0 patient number, 1 order date, 2 department, 3 patient
// type, 4 ward and room, 5 attending physician, 7 discharge date.
enum RecordCell {
    kOrderDate = 1,
    kDept = 2,
    kPatientType = 3,
    kWard = 4,
    kAttending = 5,
    kDischarge = 7,
};

// The record-kind row's visit date.
constexpr int kKindVisitDate = 2;
// The visit row's date and time as the visit list shows it.
constexpr int kVisitShown = 1;

BindingTable fillBindings()
{
    using namespace bind;
    return Concat({
        HeaderBindings({.patNo = "qrlb_PatNo",
                        .name = "qrlb_patname",
                        .resNo = "qrlb_Resno",
                        .sexAge = "qrlb_SA",
                        .dept = "qrlb_deptname",
                        .doctor = "qrlb_chadr",
                        .ward = "qrlb_roomno"}),
        {
            // An inpatient's caption stays "입원일:".
            custom({"QRLabel2"}, {value::record(kPatientType)},
                   [](engine::Report &r, const FieldValues &v) {
                       if (v[value::record(kPatientType)] != "I")
                           r.label("QRLabel2").setCaption("재원일");
                   }),
            text("qrlb_AdmDate", value::visit(kVisitShown)),
            text("qrlb_OrdDate",
                 {value::record(kOrderDate), [](const std::string &d) { return common::FmtDate(d); }}),
        },
    });
}

// A detail record is an order line (row 0) and its execution line (row 1).
BindingTable detailBindings()
{
    using namespace bind;
    return {
        text("qrlb_Data2", value::rowCol(0, 0)),   text("qrlb_Data3", value::rowCol(0, 1)),
        text("qrlb_Prn", value::rowCol(0, 6)), // no line fills it: the design text never prints
        text("qrlb_Orddr", value::rowCol(0, 8)),   text("qrlb_OrdTime", value::rowCol(0, 9)),
        text("qrlb_DCTime", value::rowCol(0, 10)), text("qrlb_Data4", {value::rowCol(1, 3), trimmed()}),
    };
}

void addHeader(RecordPrint &print)
{
    PatientHeader header = PatientHeader::fromPanels(print.context.patient);
    header.dept = print.cell(kDept);
    header.doctor = print.cell(kAttending);
    header.ward = print.cell(kWard);
    header.addTo(print.values);
}

// The staged print lines without the empty row that closes them: one band record per
// order and its execution line.
common::GridData orderRecords(common::GridData lines)
{
    lines.setRowCount(lines.rowCount() - 1);
    return lines;
}

} // namespace

const std::vector<FormBindings> &MedicationRecordForms()
{
    static const std::vector<FormBindings> forms{{.fill = fillBindings(), .detail = detailBindings()}};
    return forms;
}

BlockResult PrintMedicationRecord(RecordPrint &print)
{
    const std::string &patNo = print.cell(0);
    const std::string &orderDate = print.cell(kOrderDate);
    std::vector<OrderRow> orders;
    {
        services::HmdOrderv data;
        const int rows = data.ListOrders(patNo, orderDate, print.cell(kDept));
        if (auto stop = Fetched(rows, Notice::status("조회할 자료가 없습니다.")))
            return *stop;
        orders = OrderRows(data, rows);
    }
    common::GridData &lines = print.context.scratch.printList;
    StageOrders(orders, print.context.scratch.temp);
    StageOrderLines(print.context.scratch.temp, lines);
    // A fresh data object for each order; the print run keeps the hourglass up throughout.
    const auto administrationsOf = [&](const std::string &seqNo) -> Fetch<std::vector<Administration>> {
        services::HmdOrderv data;
        const int rows = data.ListAdministrations(patNo, orderDate, seqNo);
        if (rows < 0)
            return *Fetched(rows, Notice::none());
        return Administrations(data, rows);
    };
    if (auto stop = CompleteExecutionLines(lines, administrationsOf))
        return *stop;

    addHeader(print);
    PrintJob job;
    FeedRowBlocks(print.addReport(job), orderRecords(lines), 2,
                  [detail = print.detail()](engine::Report &r, const StagedRows &rows) {
                      ApplyBindings(r, detail, BlockValues(rows));
                  });
    job.summary = {.meddate = print.context.kind[kKindVisitDate],
                   .dschdate = print.cell(kDischarge),
                   .patgubun = print.cell(kPatientType),
                   .meddept = print.cell(kDept),
                   .chadr = print.cell(kAttending)};
    return job;
}

} // namespace medrec::reports
