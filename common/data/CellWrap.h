#pragma once

// Breaking a cell text into lines that fit the cell: each line is the longest beginning of
// the rest that fits, cut at CP949 byte positions and never inside a double-byte character.
// Pixel widths come from the caller's measure, so the same rule serves the painted grid
// and plain tests.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::common {

// The width in pixels of a text in the cell's font.
using MeasureText = std::function<int(std::string_view)>;

// Pixels between a cell's left edge and its text.
inline constexpr int kCellTextLeft = 1;

// A text of textWidth pixels fits a cell of cellWidth pixels when, placed after the left
// margin, it stays short of the right edge.
inline bool TextFits(int textWidth, int cellWidth) { return kCellTextLeft + textWidth < cellWidth; }

// The lines of text in a cell cellWidth pixels wide. Every line holds at least one
// character, so a cell narrower than one character still makes progress. Empty text gives
// no lines.
std::vector<std::string> WrapToWidth(std::string_view text, int cellWidth, const MeasureText &measure);

} // namespace medrec::common
