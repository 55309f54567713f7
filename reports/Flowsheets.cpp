#include "Flowsheets.h"

#include "ReportForms.h"
#include "StagedRows.h"

#include "report_engine/Report.h"

namespace medrec::reports {

HeaderLabels FlowsheetHeaderLabels(std::string patNo, std::string name)
{
    return {std::move(patNo), std::move(name), "qrl_ci",  "qrlb_sexage",
            "qrl_meddept",    "qrl_chadr",     "qrl_ward"};
}

std::vector<FormBindings> FlowsheetBindings(const FlowsheetForm &form,
                                            const std::vector<BindingTable> &tables)
{
    std::vector<FormBindings> bindings{{form.form, HeaderBindings(form.header)}};
    for (const BindingTable &table : tables)
        bindings.push_back({form.form, table});
    return bindings;
}

void FeedDetailRows(engine::Report &report, common::GridData table, const BindingTable &detail)
{
    FeedRows(report, std::move(table), [detail](engine::Report &r, const StagedRows &row) {
        ApplyBindings(r, detail, RowValues(row));
    });
}

engine::Report &StartFlowsheet(PrintJob &job, const FlowsheetForm &form, const PrintContext &context)
{
    engine::Report &report = job.add(MakeReport(form.unit, form.form));
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
