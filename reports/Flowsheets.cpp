#include "Flowsheets.h"

#include "PrintContext.h"
#include "RecordPrint.h"
#include "StagedRows.h"

#include "report_engine/Report.h"

namespace medrec::reports {

HeaderLabels FlowsheetHeaderLabels(std::string patNo, std::string name)
{
    return {std::move(patNo), std::move(name), "qrl_ci",  "qrlb_sexage",
            "qrl_meddept",    "qrl_chadr",     "qrl_ward"};
}

void AddFlowsheetHeader(RecordPrint &print, int wardCell)
{
    PatientHeader header = PatientHeader::fromPanels(print.context.patient);
    header.dept = print.cell(3);
    header.doctor = print.cell(4);
    header.ward = print.cell(wardCell);
    header.addTo(print.values);
}

PrintedSummary FlowsheetSummary(const RecordPrint &print, std::string patgubun, std::string chadr)
{
    return {.meddate = print.cell(1),
            .dschdate = print.cell(2),
            .patgubun = std::move(patgubun),
            .meddept = print.cell(3),
            .chadr = std::move(chadr)};
}

} // namespace medrec::reports
