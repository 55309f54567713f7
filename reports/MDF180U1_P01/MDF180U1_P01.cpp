#include "MDF180U1_P01.h"

#include "Flowsheets.h"
#include "PrintContext.h"
#include "RecordPrint.h"

#include "HmdIochkt.h"

#include <algorithm>

namespace medrec::reports {

namespace {

constexpr const char *kBodyMeasurements = "K";
constexpr int kColumns = 6;
constexpr int kWardCell = 5;

// Date and time, weight, height, abdominal, chest and head girth.
const char *const kFields[kColumns] = {"S_STRING2", "S_NUMVAL3", "S_NUMVAL5",
                                       "S_NUMVAL6", "S_NUMVAL7", "S_NUMVAL8"};

// A table line: the left entry in columns 0 .. 5, the right one in 6 .. 11.
BindingTable detailBindings()
{
    using namespace bind;
    return {
        text("qrlb_Date1", "col0"),  text("qrlb_Weight1", "col1"), text("qrlb_Height1", "col2"),
        text("qrlb_Item11", "col3"), text("qrlb_Item21", "col4"),  text("qrlb_Item31", "col5"),
        text("qrlb_Date2", "col6"),  text("qrlb_Weight2", "col7"), text("qrlb_Height2", "col8"),
        text("qrlb_Item12", "col9"), text("qrlb_Item22", "col10"), text("qrlb_Item32", "col11"),
    };
}

} // namespace

common::GridData SideBySide(const common::GridData &entries, int columns)
{
    const int first = entries.fixedRows();
    const int count = entries.bodyRowCount();
    const int half = count / 2 + count % 2;
    common::GridData lines(2 * columns, first + std::max(half, 1), first);
    for (int line = 0; line < half; ++line) {
        const int right = line + half;
        for (int col = 0; col < columns; ++col) {
            lines.setCell(col, first + line, entries.cell(col, first + line));
            if (right < count)
                lines.setCell(columns + col, first + line, entries.cell(col, first + right));
        }
    }
    return lines;
}

const std::vector<FormBindings> &BodyMeasurementForms()
{
    static const std::vector<FormBindings> forms{
        {.fill = HeaderBindings(FlowsheetHeaderLabels()), .detail = detailBindings()}};
    return forms;
}

BlockResult PrintBodyMeasurements(RecordPrint &print)
{
    services::HmdIochkt data;
    const int rows = data.ListIochk(kBodyMeasurements, print.cell(0), "", print.cell(1), print.cell(2));
    if (auto stop = Fetched(rows, Notice::status("")))
        return *stop;

    common::GridData &list = FreshPrintLines(print.context.scratch.allList, rows);
    for (int i = 0; i < rows; ++i)
        for (int col = 0; col < kColumns; ++col)
            list.setCell(col, list.fixedRows() + i, data.value(kFields[col], static_cast<std::size_t>(i)));

    AddFlowsheetHeader(print, kWardCell);
    PrintJob job;
    FeedDetailRows(print.addReport(job), SideBySide(list, kColumns), print.detail());
    job.summary = FlowsheetSummary(print, print.cell(6), print.cell(7));
    return job;
}

} // namespace medrec::reports
