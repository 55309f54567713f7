#pragma once

// What the measurement flowsheets share (vital signs, blood sugar, body measurements,
// intake and output): a patient block from the screen's panels and the record row
// (department cell 3, attending cell 4, the ward at the kind's own cell), print lines staged
// from empty rows, one band record per staged row, and the summary from the record row.

#include "PatientHeader.h"
#include "PrintJob.h"
#include "RecordKinds.h"
#include "StagedRows.h"

#include "GridData.h"

#include <string>

namespace medrec::reports {

// The patient block's labels of the flowsheet forms; two of the forms spell the number and
// name labels their own way.
HeaderLabels FlowsheetHeaderLabels(std::string patNo = "qrlb_PatNo", std::string name = "qrlb_patname");

// The patient block's values, the ward from record cell `wardCell`.
void AddFlowsheetHeader(RecordPrint &print, int wardCell);

// The summary labels: visit and discharge dates and department from cells 1 .. 3; the
// patient type and attending as the kind says.
PrintedSummary FlowsheetSummary(const RecordPrint &print, std::string patgubun, std::string chadr);

} // namespace medrec::reports
