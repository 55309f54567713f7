#pragma once

// Numbers in grid cells: reading a cell text as a number, and the "###,##0.###" display of
// right-aligned number columns.

#include <optional>
#include <string>
#include <string_view>

namespace medrec::common {

// The value of a decimal number text such as "-12.5", "1e3" or " 7 " (blanks around are
// allowed, thousands separators are not). Empty, "inf", "nan" and anything else: nullopt.
std::optional<double> ParseNumber(std::string_view text);

// value with thousands separators and at most three decimals, trailing zeros dropped:
// 1234567.5 -> "1,234,567.5", 0.0004 -> "0", -1234 -> "-1,234".
std::string FormatGroupedNumber(double value);

// The display of a number-format column: the text reformatted when it reads as a number,
// otherwise unchanged (blank texts too).
std::string NumberFormatDisplay(std::string_view text);

} // namespace medrec::common
