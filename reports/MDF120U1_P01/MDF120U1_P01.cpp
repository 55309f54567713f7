#include "MDF120U1_P01.h"

#include "Flowsheets.h"
#include "PrintContext.h"
#include "RecordContent.h"
#include "RecordPrint.h"

namespace medrec::reports {

namespace {

constexpr int kColumns = 10;
constexpr int kWardCell = 6;

// Print-line columns 0 .. 9: date and time, temperature, pulse, respiration, systolic and
// diastolic pressure, stool, stool state, oxygen saturation, consciousness.
BindingTable detailBindings()
{
    using namespace bind;
    return {
        text("qrlb_Date1", "col0"),   text("qrlb_Weight1", "col1"), text("qrlb_Height1", "col2"),
        text("qrlb_Item11", "col3"),  text("qrlb_Item21", "col4"),  text("qrlb_Item31", "col5"),
        text("QRLabel13", "col6"),    text("QRLabel14", "col7"),    text("qrlb_Date2", "col8"),
        text("qrlb_Weight2", "col9"),
    };
}

} // namespace

const std::vector<FormBindings> &VitalSignForms()
{
    static const std::vector<FormBindings> forms{
        {.fill = HeaderBindings(FlowsheetHeaderLabels()), .detail = detailBindings()}};
    return forms;
}

BlockResult PrintVitalSigns(RecordPrint &print)
{
    auto content = FetchRecordContent(print, {1}, Notice::status(""));
    if (!content)
        return content.stop();
    common::GridData &list = FreshPrintLines(print.context.scratch.allList, content->rows());
    for (int i = 0; i < content->rows(); ++i)
        for (int col = 0; col < kColumns; ++col)
            list.setCell(col, list.fixedRows() + i, content->value(col + 1, i));

    AddFlowsheetHeader(print, kWardCell);
    PrintJob job;
    FeedDetailRows(print.addReport(job), list, print.detail());
    job.summary = FlowsheetSummary(print, print.cell(5), print.cell(4));
    return job;
}

} // namespace medrec::reports
