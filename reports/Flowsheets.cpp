#include "Flowsheets.h"

#include "ReportForms.h"

#include "report_engine/Report.h"

namespace medrec::reports {

report::Report &StartFlowsheet(PrintJob &job, const FlowsheetForm &form, const PrintContext &context)
{
    report::Report &report = job.add(MakeReport(form.unit, form.form));
    PatientHeader header = PatientHeader::fromPanels(context.patient);
    header.dept = context.record[3];
    header.doctor = context.record[4];
    header.ward = context.record[form.wardCell];
    FieldValues values;
    header.addTo(values);
    ApplyBindings(report, HeaderBindings(form.header), values);
    job.history = {{context.record[0], context.record[1]}};
    return report;
}

PrintedSummary FlowsheetSummary(const RowCells &record, std::string patgubun, std::string chadr)
{
    return {record[0], record[1], record[2], std::move(patgubun), record[3], std::move(chadr)};
}

common::GridData &FreshPrintLines(common::GridData &list, int bodyRows)
{
    list.setRowCount(list.fixedRows() + bodyRows);
    list.clearRows();
    return list;
}

} // namespace medrec::reports
