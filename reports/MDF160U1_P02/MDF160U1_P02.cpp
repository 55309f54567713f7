#include "MDF160U1_P02.h"

#include "ContextValues.h"
#include "Flowsheets.h"
#include "PrintContext.h"
#include "RecordPrint.h"

#include "Cp949.h"
#include "DateText.h"
#include "HmdIochkt.h"

#include <array>

namespace medrec::reports {

namespace {

constexpr const char *kBloodSugar = "7";
constexpr int kSlots = 4;
constexpr int kWardCell = 5;

// The patient block, and the period under the logo: the visit's first and last day.
BindingTable fillBindings()
{
    const auto date = [](const std::string &d) { return common::FmtDate(d); };
    return Concat({HeaderBindings(FlowsheetHeaderLabels("qrlb_Patno", "qrlb_Patname")),
                   {bind::joined("qrlb_Term", {{value::record(1), date}, {value::record(2), date}}, " ~ ")}});
}

// Print-line columns: 0 the day, 1 .. 4 the slots.
BindingTable detailBindings()
{
    using namespace bind;
    return {
        text("qrlb_Data1", "col0"), text("qrlb_Data2", "col1"), text("qrlb_Data3", "col2"),
        text("qrlb_Data4", "col3"), text("qrlb_Data5", "col4"),
    };
}

} // namespace

std::optional<int> BloodSugarSlot(const std::string &time)
{
    static const std::array<const char *, kSlots> lastOfSlot = {"07:30", "12:00", "17:30", "24:00"};
    if (time < "00:00")
        return std::nullopt;
    for (int slot = 0; slot < kSlots; ++slot)
        if (time <= lastOfSlot[static_cast<std::size_t>(slot)])
            return slot + 1;
    return std::nullopt;
}

std::string BloodSugarCell(const std::string &value, const std::string &time)
{
    const std::size_t width = text::cp949Width(value);
    return std::string(width < 10 ? 10 - width : 0, ' ') + value + " (" + time + ")";
}

const std::vector<FormBindings> &BloodSugarForms()
{
    static const std::vector<FormBindings> forms{{.fill = fillBindings(), .detail = detailBindings()}};
    return forms;
}

BlockResult PrintBloodSugar(RecordPrint &print)
{
    services::HmdIochkt data;
    const int rows = data.ListIochk(kBloodSugar, print.cell(0), print.cell(1), print.cell(2), "");
    if (auto stop = Fetched(rows, Notice::status("조회된 데이타가 없습니다.")))
        return *stop;

    // One line per run of readings of the same day, in the order delivered: a day that comes
    // back after another opens a line of its own.
    common::GridData &list = FreshPrintLines(print.context.scratch.allList, 1);
    int line = list.fixedRows() - 1;
    for (int i = 0; i < rows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const std::string &day = data.value("S_STRING7", row);
        const std::string &time = data.value("S_STRING2", row);
        const auto slot = BloodSugarSlot(time);
        if (!slot)
            return NotPrinted{NotPrinted::Reason::Refused,
                              Notice::box(day + " 혈당 측정 시각 \"" + time +
                                          "\"이(가) 00:00 ~ 24:00 밖이어서 출력하지 않았습니다.")};
        // The first reading always opens a line, even one whose day is empty.
        if (line < list.fixedRows() || day != list.cell(0, line)) {
            ++line;
            list.setRowCount(line + 1);
            list.setCell(0, line, day);
        }
        // A later reading of the slot replaces the earlier one.
        list.setCell(*slot, line, BloodSugarCell(data.value("S_NUMVAL1", row), time));
    }

    AddFlowsheetHeader(print, kWardCell);
    PrintJob job;
    FeedDetailRows(print.addReport(job), list, print.detail());
    job.summary = FlowsheetSummary(print, "I", print.cell(7));
    return job;
}

} // namespace medrec::reports
