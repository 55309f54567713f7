#include "ContextValues.h"

#include "PatientHeader.h"
#include "PrintContext.h"

#include <algorithm>

namespace medrec::reports {

namespace value {

namespace {

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "0", "17": a cell or column number without leading zeros.
bool isNumber(std::string_view text, int below)
{
    if (text.empty() || text.size() > 3 || !std::all_of(text.begin(), text.end(), isDigit) ||
        (text.size() > 1 && text[0] == '0'))
        return false;
    return std::stoi(std::string(text)) < below;
}

// "MD_PATBA_L2": module, entity and operation.
bool isServiceName(std::string_view name)
{
    if (name.size() != 11 || name[2] != '_' || name[8] != '_')
        return false;
    for (std::size_t i : {0u, 1u, 3u, 4u, 5u, 6u, 7u, 9u})
        if (!isUpper(name[i]))
            return false;
    return isUpper(name[10]) || isDigit(name[10]);
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// A staged row's column: "colN".
bool isColumn(std::string_view name)
{
    return startsWith(name, "col") && isNumber(name.substr(3), 100);
}

} // namespace

std::string record(int cell) { return "record." + std::to_string(cell); }
std::string visit(int cell) { return "visit." + std::to_string(cell); }
std::string kind(int cell) { return "kind." + std::to_string(cell); }
std::string col(int column) { return "col" + std::to_string(column); }
std::string rowCol(int row, int column) { return "row" + std::to_string(row) + ".col" + std::to_string(column); }

bool IsValueName(std::string_view name, const std::function<bool(std::string_view)> &isField)
{
    for (std::string_view row : {"record.", "visit.", "kind."})
        if (startsWith(name, row))
            return isNumber(name.substr(row.size()), kCells);
    for (std::string_view panel :
         {kPanelPatNo, kPanelName, kPanelSexAge, kPanelResNo, kPanelBirthDate, kPanelAddress})
        if (name == panel)
            return true;
    for (std::string_view fixed : {kLineText, kLineFirst, kLineLast, kLineDayHeader})
        if (name == fixed)
            return true;
    if (IsHeaderValue(name) || isColumn(name))
        return true;
    if (startsWith(name, "row")) {
        const auto dot = name.find('.');
        return dot != std::string_view::npos && isNumber(name.substr(3, dot - 3), 10) && isColumn(name.substr(dot + 1));
    }
    const auto dot = name.find('.');
    if (dot != std::string_view::npos)
        return isServiceName(name.substr(0, dot)) && isField(name.substr(dot + 1));
    return isField(name);
}

} // namespace value

FieldValues ContextValues(const PrintContext &context)
{
    FieldValues values;
    for (int cell = 0; cell < value::kCells; ++cell) {
        values.set(value::record(cell), context.record[cell]);
        values.set(value::visit(cell), context.visit[cell]);
        values.set(value::kind(cell), context.kind[cell]);
    }
    const PatientPanels &p = context.patient;
    values.set(value::kPanelPatNo, p.patNo);
    values.set(value::kPanelName, p.name);
    values.set(value::kPanelSexAge, p.sexAge);
    values.set(value::kPanelResNo, p.resNo);
    values.set(value::kPanelBirthDate, p.birthDate);
    values.set(value::kPanelAddress, p.address);
    return values;
}

} // namespace medrec::reports
