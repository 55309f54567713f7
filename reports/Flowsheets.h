#pragma once

// What the measurement flowsheets share (vital signs, blood sugar, body measurements,
// intake and output): one report of the unit's form whose patient block comes from the
// screen's panels and the record row (department cell 3, attending cell 4, the ward at the
// kind's own cell), print lines staged from empty rows, and one history row with the
// patient number and the visit date.

#include "PatientHeader.h"
#include "PrintContext.h"
#include "PrintJob.h"
#include "RecordKinds.h"

#include <string>

namespace medrec::reports {

// The patient block's labels of the flowsheet forms; two of the forms spell the number and
// name labels their own way.
HeaderLabels FlowsheetHeaderLabels(std::string patNo = "qrlb_PatNo", std::string name = "qrlb_patname");

struct FlowsheetForm
{
    std::string unit;
    std::string form;
    HeaderLabels header;
    int wardCell; // the record-row cell the ward label shows
};

// The form's binding tables: the patient block's, then the kind's own.
std::vector<FormBindings> FlowsheetBindings(const FlowsheetForm &form,
                                            const std::vector<BindingTable> &tables);

// A job of one fresh report of the form, its patient block filled, the history row set.
// The block sets the summary and feeds the report.
engine::Report &StartFlowsheet(PrintJob &job, const FlowsheetForm &form, const PrintContext &context);

// One band record per staged row, its labels set by the detail table from the row's cells
// ("col0", "col1", ...).
void FeedDetailRows(engine::Report &report, common::GridData table, const BindingTable &detail);

// The summary labels: patient number, visit and discharge dates and department from cells
// 0 .. 3; the patient type and attending as the kind says.
PrintedSummary FlowsheetSummary(const RowCells &record, std::string patgubun, std::string chadr);

// The scratch table `list` with its title row and `bodyRows` body rows, every cell empty:
// whatever an earlier print staged never shows in an empty slot.
common::GridData &FreshPrintLines(common::GridData &list, int bodyRows);

} // namespace medrec::reports
