#include "OrderLines.h"

#include "Cp949.h"
#include "GridData.h"
#include "HmdOrderv.h"
#include "TextHelpers.h"

namespace medrec::reports {

namespace {

using common::Trimmed;

// The columns of a staged order (ugd_Temp).
enum TempCol {
    kTempHeading = 0,
    kTempText = 1,
    kTempExecution = 2,
    kTempSeqNo = 4,
    kTempType = 6,
    kTempPhysician = 9,
    kTempEntryTime = 10,
    kTempDcTime = 15,
};

// The columns of a print line (ugd_PrintList).
enum LineCol {
    kHeading = 0,
    kText = 1,
    kType = 2,
    kDone = 3, // of the execution line: what prints under the order
    kSeqNo = 4,
    kExecution = 5,
    kOrderMark = 7,
    kPhysician = 8,
    kEntryTime = 9,
    kDcTime = 10,
};

constexpr std::size_t kNameBytes = 44;
constexpr std::size_t kDetailBytes = 100;
constexpr const char *kArrow = "▶ ";

std::string padded(std::string text, std::size_t bytes)
{
    const std::size_t width = text::cp949Width(text);
    if (width < bytes)
        text.append(bytes - width, ' ');
    return text;
}

bool isBType(const std::string &type)
{
    return type.starts_with('B');
}

bool isBlank(const std::string &text)
{
    return common::TrimBlanks(text).empty();
}

// CP949 byte positions from..from+count-1 (1-based), never half a character.
std::string bytesAt(const std::string &text, std::size_t from, std::size_t count)
{
    return text::cp949Slice(text, from - 1, count);
}

void stageOrder(const OrderRow &order, bool showHeading, common::GridData &temp, int row)
{
    temp.setCell(kTempHeading, row, showHeading ? order.heading : std::string());
    temp.setCell(kTempText, row, OrderText(order));
    temp.setCell(kTempExecution, row, order.execution);
    temp.setCell(kTempSeqNo, row, order.seqNo);
    temp.setCell(kTempType, row, order.type);
    temp.setCell(kTempPhysician, row, order.physician);
    temp.setCell(kTempEntryTime, row, order.entryTime);
    temp.setCell(kTempDcTime, row, order.dcTime);
}

std::optional<NotPrinted> checkSeqNo(const std::string &seqNo)
{
    if (common::WholeNumber(seqNo))
        return std::nullopt;
    return NotPrinted{
        NotPrinted::Reason::Refused,
        Notice::box("출력하지 못했습니다. 처방 순번(L_SEQNO1)이 숫자가 아닙니다: '" + seqNo + "'")};
}

// Each of the first `rows` rows of the call, made by `make` from a reader of its fields.
template <class Row, class Make> std::vector<Row> rowsOf(const services::HmdOrderv &data, int rows, Make make)
{
    std::vector<Row> out;
    for (std::size_t i = 0; i < static_cast<std::size_t>(rows); ++i)
        out.push_back(
            make([&data, i](const char *field) -> const std::string & { return data.value(field, i); }));
    return out;
}

} // namespace

std::vector<OrderRow> OrderRows(const services::HmdOrderv &orders, int rows)
{
    return rowsOf<OrderRow>(orders, rows, [](const auto &v) {
        return OrderRow{.seqNo = v("L_SEQNO1"),
                        .type = v("S_CODE5"),
                        .heading = v("S_CODE6"),
                        .groupKey = v("S_CODE8"),
                        .physician = v("S_CODE15"),
                        .special = v("S_CODE16"),
                        .details = v("S_CODE18"),
                        .execution = v("S_CODE25"),
                        .altName = v("S_CODE26"),
                        .entryTime = v("S_CODE27"),
                        .name = v("S_CODE29"),
                        .code30 = v("S_CODE30"),
                        .dcTime = v("S_STRING3")};
    });
}

std::vector<Administration> Administrations(const services::HmdOrderv &data, int rows)
{
    return rowsOf<Administration>(data, rows, [](const auto &v) {
        return Administration{.at = v("S_CODE1"),
                              .time = v("S_CODE24"),
                              .code = v("S_CODE8"),
                              .remark = v("S_CODE14"),
                              .nurse = v("S_CODE15")};
    });
}

bool IsSkipped(const OrderRow &order)
{
    return (order.type == "D1" || order.type == "D2") && !order.code30.empty();
}

std::string OrderText(const OrderRow &order)
{
    std::string name = Trimmed(order.name);
    if (name.empty())
        name = Trimmed(order.altName);
    return Trimmed(padded(std::move(name), kNameBytes) + " " + padded(Trimmed(order.details), kDetailBytes));
}

std::string DcTimeText(const std::string &dcTime)
{
    return bytesAt(dcTime, 1, 2) + " " + bytesAt(dcTime, 3, 1) + " " + bytesAt(dcTime, 4, 5);
}

std::string AdministrationText(const std::vector<Administration> &administrations)
{
    std::string text;
    for (const Administration &a : administrations) {
        const std::string code = Trimmed(a.code);
        if (code.empty() || code == ":")
            continue;
        text += "(" + bytesAt(a.at, 7, 2) + ")" + a.time + "/" + a.code;
        if (!isBlank(a.remark))
            text += "(비고:" + a.remark + ")";
        text += "/" + a.nurse + ", ";
    }
    if (isBlank(text))
        return {};
    // Every entry ends in ", ": the list ends without it.
    std::string trimmed = Trimmed(text);
    trimmed.pop_back();
    return kArrow + trimmed;
}

void StageOrders(const std::vector<OrderRow> &orders, common::GridData &temp)
{
    const int first = temp.fixedRows();
    temp.setRowCount(first + static_cast<int>(orders.size()));
    temp.clearRows();
    std::string lastHeading, lastKey;
    int row = first;
    for (const OrderRow &order : orders) {
        if (IsSkipped(order))
            continue;
        const bool showHeading =
            order.heading != lastHeading || order.groupKey != lastKey || order.special == "SPECIAL";
        stageOrder(order, showHeading, temp, row);
        lastHeading = order.heading;
        lastKey = order.groupKey;
        ++row;
    }
    // When every order was left out, one empty order remains and prints as an empty line.
    temp.setRowCount(std::max(row, first + 1));
}

void StageOrderLines(const common::GridData &temp, common::GridData &lines)
{
    const int first = lines.fixedRows();
    lines.setRowCount(first + 2 * temp.bodyRowCount() + 1);
    lines.clearRows();
    int line = first;
    for (int row = temp.fixedRows(); row < temp.rowCount(); ++row, line += 2) {
        const auto cell = [&](int col) -> const std::string & { return temp.cell(col, row); };
        const std::string &heading = cell(kTempHeading);
        const bool bracketed = common::TrimBlanks(heading).starts_with("≪");
        lines.setCell(kHeading, line, heading);
        lines.setCell(kText, line, cell(kTempText));
        lines.setCell(kType, line, cell(kTempType));
        lines.setCell(kSeqNo, line, cell(kTempSeqNo));
        lines.setCell(kExecution, line, cell(kTempExecution));
        lines.setCell(kOrderMark, line, "Y");
        lines.setCell(kPhysician, line, bracketed ? std::string() : cell(kTempPhysician));
        lines.setCell(kEntryTime, line, bracketed ? std::string() : cell(kTempEntryTime));
        lines.setCell(kDcTime, line, DcTimeText(cell(kTempDcTime)));
        if (!isBType(cell(kTempType)) && !isBlank(cell(kTempExecution)))
            lines.setCell(kDone, line + 1, kArrow + cell(kTempExecution));
    }
}

std::optional<NotPrinted> CompleteExecutionLines(common::GridData &lines,
                                                 const AdministrationsOf &administrationsOf)
{
    for (int line = lines.fixedRows(); line < lines.rowCount(); ++line) {
        if (lines.cell(kText, line).empty())
            continue;
        if (!isBType(lines.cell(kType, line))) {
            lines.setCell(kDone, line + 1, lines.cell(kExecution, line));
            continue;
        }
        const std::string &seqNo = lines.cell(kSeqNo, line);
        if (auto stop = checkSeqNo(seqNo))
            return stop;
        auto administrations = administrationsOf(seqNo);
        if (!administrations)
            return administrations.stop();
        lines.setCell(kDone, line + 1, AdministrationText(*administrations));
    }
    return std::nullopt;
}

} // namespace medrec::reports
