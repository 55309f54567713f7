#include "MDF120U1_P01.h"

#include "Flowsheets.h"
#include "PrintContext.h"
#include "StagedRows.h"

#include "Hmdrecodt.h"

namespace medrec::reports {

namespace {

constexpr const char *kCode = "MDVITALT";
constexpr int kColumns = 10;

const FlowsheetForm &vitalSignForm()
{
    static const FlowsheetForm form{"MDF120U1_P01", "TMDF120F1_P01", FlowsheetHeaderLabels(), 6};
    return form;
}

// Print-line columns 0 .. 9: date and time, temperature, pulse, respiration, systolic and
// diastolic pressure, stool, stool state, oxygen saturation, consciousness.
const BindingTable &detailBindings()
{
    using namespace bind;
    static const BindingTable table = {
        text("qrlb_Date1", "col0"),   text("qrlb_Weight1", "col1"), text("qrlb_Height1", "col2"),
        text("qrlb_Item11", "col3"),  text("qrlb_Item21", "col4"),  text("qrlb_Item31", "col5"),
        text("QRLabel13", "col6"),    text("QRLabel14", "col7"),    text("qrlb_Date2", "col8"),
        text("qrlb_Weight2", "col9"),
    };
    return table;
}

} // namespace

std::vector<FormBindings> VitalSignBindings()
{
    return FlowsheetBindings(vitalSignForm(), {detailBindings()});
}

BlockResult PrintVitalSigns(PrintContext &context)
{
    const RowCells &record = context.record;
    services::Hmdrecodt data;
    const int rows = data.GetRecodData(kCode, record[0], record[1], "", "", "");
    if (auto stop = Fetched(rows, Notice::status("")))
        return *stop;

    common::GridData &list = FreshPrintLines(context.scratch.allList, rows);
    for (int i = 0; i < rows; ++i)
        for (int col = 0; col < kColumns; ++col) {
            const auto &values = data.data(col + 1);
            const auto row = static_cast<std::size_t>(i);
            list.setCell(col, list.fixedRows() + i, row < values.size() ? values[row] : std::string());
        }

    PrintJob job;
    engine::Report &report = StartFlowsheet(job, vitalSignForm(), context);
    FeedDetailRows(report, list, detailBindings());
    job.summary = FlowsheetSummary(record, record[5], record[4]);
    return job;
}

} // namespace medrec::reports
