#include "AssessmentSheet.h"

#include "FormConventions.h"

#include "Cp949.h"
#include "TextHelpers.h"

#include "report_engine/Report.h"

namespace medrec::reports {

std::string Chars(std::string_view value, int first, int last)
{
    if (first < 1)
        first = 1;
    if (last < first)
        return {};
    return text::cp949Slice(value, static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

std::string CharsFrom(std::string_view value, int first)
{
    const int end = static_cast<int>(text::cp949Width(value));
    return Chars(value, first, end);
}

std::string CharAt(std::string_view value, int position) { return Chars(value, position, position); }

int NumberAt(std::string_view value, int position) { return CodeToInt(CharAt(value, position)); }

std::string Trimmed(std::string_view value) { return std::string(common::TrimBlanks(value)); }

std::string TextOf(std::initializer_list<CodeText> table, int code, std::string_view unmatched)
{
    for (const CodeText &entry : table)
        if (entry.code == code)
            return std::string(entry.text);
    return std::string(unmatched);
}

SquareFills FlagSquares(std::string_view flags, std::initializer_list<std::string_view> squares, int first)
{
    SquareFills fills;
    int position = first;
    for (std::string_view square : squares) {
        if (!square.empty())
            fills.push_back({std::string(square), CharAt(flags, position) == "Y"});
        ++position;
    }
    return fills;
}

namespace {

template <class Choice, class Matches>
SquareFills choose(std::initializer_list<Choice> choices, std::string_view otherwise, Matches matches)
{
    SquareFills fills;
    bool matched = false;
    for (const Choice &choice : choices) {
        const bool chosen = !matched && matches(choice);
        matched = matched || chosen;
        fills.push_back({std::string(choice.square), chosen});
    }
    if (!matched && !otherwise.empty()) {
        bool listed = false;
        for (SquareFill &fill : fills)
            if (fill.square == otherwise)
                fill.black = listed = true;
        if (!listed)
            fills.push_back({std::string(otherwise), true});
    }
    return fills;
}

} // namespace

SquareFills ChoiceSquares(int code, std::initializer_list<CodeSquare> choices, std::string_view otherwise)
{
    return choose(choices, otherwise, [code](const CodeSquare &c) { return c.code == code; });
}

SquareFills TextChoiceSquares(std::string_view value, std::initializer_list<TextSquare> choices,
                              std::string_view otherwise)
{
    return choose(choices, otherwise, [value](const TextSquare &c) { return c.text == value; });
}

OptionalFlag OptionalFlagAt(std::string_view value, int position, bool trimText)
{
    OptionalFlag result;
    const std::string at = CharAt(value, position);
    if (at == "N" || at == "Y") {
        result.flag = at == "Y";
        result.text = CharsFrom(value, position + 1);
    } else {
        result.text = CharsFrom(value, position);
    }
    if (trimText)
        result.text = Trimmed(result.text);
    return result;
}

void Paint(report::Report &report, const SquareFills &fills)
{
    for (const SquareFill &fill : fills)
        shcbx_pro(report, fill.square, fill.black ? "Y" : "N");
}

} // namespace medrec::reports
