#include "MDF130U1_P01.h"

#include "DecimalText.h"
#include "ContextValues.h"
#include "Flowsheets.h"
#include "PrintContext.h"
#include "RecordPrint.h"
#include "StagedRows.h"

#include "DateText.h"
#include "FieldResults.h"
#include "HmdIochkt.h"
#include "TextHelpers.h"

#include <array>

namespace medrec::reports {

namespace {

constexpr const char *kIntakeOutput = "P";
constexpr int kRowsPerDay = 4; // shifts 1, 2, 3 and the total
constexpr int kTotal = 3;      // the total line's place in its block

// Print-line columns.
enum Column {
    kDate = 0,
    kTime = 1,
    kOral = 2,
    kParenteral = 3,
    kBlood = 4,
    kIntakeTotal = 5,
    kOutputTotal = 6,
    kUrine = 7,
    kDrainage = 8,
    kVomitus = 9,
    kStool = 10,
    kDayKey = 11,
    kUrineValue = 12,
    kUrineFigure = 13,
    kStoolValue = 14,
    kStoolFigure = 15,
    kOralValue = 16,
    kOralFigure = 17,
    kVomitusValue = 18,
    kVomitusFigure = 19,
    kLastPrinted = kStool,
};

// The cells an entry writes as delivered, and what the operator calls them.
struct Delivered
{
    Column column;
    const char *field;
    const char *name;
};
const std::array<Delivered, 11> kDelivered = {{
    {kParenteral, "S_NUMVAL2", "비경구"},
    {kBlood, "S_NUMVAL9", "혈액"},
    {kDrainage, "S_NUMVAL11", "배농및흡인"},
    {kUrineValue, "S_NUMVAL10", "배뇨"},
    {kUrineFigure, "S_NUMVAL6", "배뇨 괄호 안"},
    {kStoolValue, "S_NUMVAL8", "배변"},
    {kStoolFigure, "S_NUMVAL7", "배변 괄호 안"},
    {kOralValue, "S_NUMVAL1", "경구"},
    {kOralFigure, "S_STRING3", "경구 괄호 안"},
    {kVomitusValue, "S_NUMVAL12", "구토"},
    {kVomitusFigure, "S_NUMVAL3", "구토 괄호 안"},
}};

// The columns a total line sums over its three shifts.
constexpr std::array<Column, 13> kSummed = {
    kParenteral, kBlood,       kIntakeTotal, kOutputTotal, kDrainage,     kUrineValue,   kUrineFigure,
    kStoolValue, kStoolFigure, kOralValue,   kOralFigure,  kVomitusValue, kVomitusFigure};

const char *nameOf(Column column)
{
    for (const Delivered &d : kDelivered)
        if (d.column == column)
            return d.name;
    return column == kIntakeTotal ? "섭취 Total" : "배설 Total";
}

// Arithmetic on print-line cells: an empty cell counts 0; anything else must be a decimal.
class Sums
{
public:
    explicit Sums(common::GridData &list) : m_list(list) {}

    // The sum of the cells, as its shortest decimal text; nullopt (and why) when a cell is not
    // a number.
    std::optional<std::string> add(const std::vector<std::pair<int, int>> &cells, const std::string &day,
                                   int shift)
    {
        Decimal total;
        for (const auto &[col, row] : cells) {
            const std::string &text = m_list.cell(col, row);
            const auto value =
                common::TrimBlanks(text).empty() ? std::optional<Decimal>(Decimal()) : Decimal::parse(text);
            const auto sum = value ? total.plus(*value) : std::nullopt;
            if (!sum) {
                m_problem = day + (shift ? " 근무조 " + std::to_string(shift) : std::string(" 합계")) +
                            "의 " + nameOf(static_cast<Column>(col)) + " 값 \"" + text + "\"" +
                            (value ? "을(를) 더한 합계가 너무 커서" : "은(는) 숫자가 아니어서") +
                            " 섭취 및 배설량기록을 출력하지 않았습니다.";
                return std::nullopt;
            }
            total = *sum;
        }
        return total.text();
    }
    const std::string &problem() const { return m_problem; }

private:
    common::GridData &m_list;
    std::string m_problem;
};

std::string withFigure(const std::string &value, const std::string &figure)
{
    return value + "(" + figure + ")";
}

std::string oralText(const std::string &value, const std::string &figure)
{
    return figure.empty() || figure == "0" ? value : withFigure(value, figure);
}

// "1" .. "3"; nullopt for anything else, an empty or unreadable shift included.
std::optional<int> shiftOf(const std::string &text)
{
    const std::string_view trimmed = common::TrimBlanks(text);
    if (trimmed.size() == 1 && trimmed[0] >= '1' && trimmed[0] <= '3')
        return trimmed[0] - '0';
    return std::nullopt;
}

// Writes one entry into its shift line; its two line totals from its own cells.
std::optional<std::string> writeEntry(const services::FieldResults &results, std::size_t i, int line,
                                      const std::string &day, int shift, common::GridData &list)
{
    for (const Delivered &d : kDelivered)
        list.setCell(d.column, line, results.value(d.field, i));
    list.setCell(kOral, line, oralText(results.value("S_NUMVAL1", i), results.value("S_STRING3", i)));
    list.setCell(kUrine, line, withFigure(results.value("S_NUMVAL10", i), results.value("S_NUMVAL6", i)));
    list.setCell(kVomitus, line, withFigure(results.value("S_NUMVAL12", i), results.value("S_NUMVAL3", i)));
    list.setCell(kStool, line, withFigure(results.value("S_NUMVAL8", i), results.value("S_NUMVAL7", i)));

    Sums sums(list);
    for (const Delivered &d : kDelivered)
        if (!sums.add({{d.column, line}}, day, shift))
            return sums.problem();
    const auto intake = sums.add({{kOralValue, line}, {kParenteral, line}, {kBlood, line}}, day, shift);
    const auto output = sums.add(
        {{kUrineValue, line}, {kDrainage, line}, {kVomitusValue, line}, {kStoolValue, line}}, day, shift);
    if (!intake || !output)
        return sums.problem();
    list.setCell(kIntakeTotal, line, *intake);
    list.setCell(kOutputTotal, line, *output);
    return std::nullopt;
}

// The total line of the block starting at `first`: each summed column over the three shifts,
// the parenthesised columns from their sums. A total is printed as its sum, fractions kept.
std::optional<std::string> closeBlock(int first, common::GridData &list)
{
    const int total = first + kTotal;
    const std::string day = list.cell(kDayKey, first);
    Sums sums(list);
    for (Column col : kSummed) {
        const auto sum = sums.add({{col, first}, {col, first + 1}, {col, first + 2}}, day, 0);
        if (!sum)
            return sums.problem();
        list.setCell(col, total, *sum);
    }
    list.setCell(kOral, total, oralText(list.cell(kOralValue, total), list.cell(kOralFigure, total)));
    list.setCell(kUrine, total, withFigure(list.cell(kUrineValue, total), list.cell(kUrineFigure, total)));
    list.setCell(kVomitus, total,
                 withFigure(list.cell(kVomitusValue, total), list.cell(kVomitusFigure, total)));
    list.setCell(kStool, total, withFigure(list.cell(kStoolValue, total), list.cell(kStoolFigure, total)));
    return std::nullopt;
}

constexpr int kWardCell = 5;

// A day's band: the day, then label rows 1, 2, 3 (shifts) and 5 (total), each showing
// print-line columns 2 .. 10 of its line as qrlb_Data<row><column + 1>.
BindingTable detailBindings()
{
    BindingTable t = {bind::text("qrlb_Data1", value::rowCol(0, kDate)),
                      bind::text("qrlb_Data52", value::rowCol(kTotal, kTime))};
    for (const auto &[labelRow, line] : {std::pair{1, 0}, {2, 1}, {3, 2}, {5, kTotal}})
        for (int col = kOral; col <= kLastPrinted; ++col)
            t.push_back(bind::text("qrlb_Data" + std::to_string(labelRow) + std::to_string(col + 1),
                                   value::rowCol(line, col)));
    return t;
}

} // namespace

std::string TidyZero(const std::string &cell)
{
    if (cell == "0" || cell == "0(0)")
        return {};
    const std::string_view trimmed = common::TrimBlanks(cell);
    if (trimmed.substr(0, 2) == "0(")
        return std::string(trimmed.substr(1));
    return cell;
}

std::optional<std::string> StageIntakeOutput(const services::FieldResults &results, int rows,
                                             common::GridData &list)
{
    FreshPrintLines(list, 1);
    const int top = list.fixedRows();
    int block = top - kRowsPerDay;
    for (int i = 0; i < rows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        const std::string day = common::FmtDate(results.value("S_STRING1", row));
        // The first entry always opens a block, even one without a day.
        if (block < top || day != list.cell(kDayKey, block)) {
            if (block >= top)
                if (auto problem = closeBlock(block, list))
                    return problem;
            block += kRowsPerDay;
            list.setRowCount(block + kRowsPerDay);
            list.setCell(kDate, block, day);
            for (int k = 0; k < kRowsPerDay; ++k) {
                list.setCell(kTime, block + k, k == kTotal ? "Total" : std::to_string(k + 1));
                list.setCell(kDayKey, block + k, day);
            }
        }
        const std::string &shiftText = results.value("S_NUMVAL13", row);
        const auto shift = shiftOf(shiftText);
        if (!shift)
            return day + " 자료의 근무조 \"" + shiftText +
                   "\"이(가) 1, 2, 3 중 하나가 아니어서 섭취 및 배설량기록을 "
                   "출력하지 않았습니다.";
        if (auto problem = writeEntry(results, row, block + *shift - 1, day, *shift, list))
            return problem;
    }
    if (auto problem = closeBlock(block, list))
        return problem;

    for (int line = top; line < list.rowCount(); ++line)
        for (int col = kDate; col <= kLastPrinted; ++col)
            if (col != kDrainage)
                list.setCell(col, line, TidyZero(list.cell(col, line)));
    return std::nullopt;
}

const std::vector<FormBindings> &IntakeOutputForms()
{
    static const std::vector<FormBindings> forms{
        {.fill = HeaderBindings(FlowsheetHeaderLabels()), .detail = detailBindings()}};
    return forms;
}

BlockResult PrintIntakeOutput(RecordPrint &print)
{
    services::HmdIochkt data;
    const int rows = data.ListIochk(kIntakeOutput, print.cell(0), print.cell(1), print.cell(2), "");
    if (auto stop = Fetched(rows, Notice::status("")))
        return *stop;
    common::GridData &list = print.context.scratch.allList;
    if (auto problem = StageIntakeOutput(data.results(), rows, list))
        return NotPrinted{NotPrinted::Reason::Refused, Notice::box(*problem)};

    AddFlowsheetHeader(print, kWardCell);
    PrintJob job;
    FeedRowBlocks(print.addReport(job), list, kRowsPerDay,
                  [detail = print.detail()](engine::Report &r, const StagedRows &day) {
                      ApplyBindings(r, detail, BlockValues(day));
                  });
    job.summary = FlowsheetSummary(print, print.cell(6), print.cell(7));
    return job;
}

} // namespace medrec::reports
