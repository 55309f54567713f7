#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Line breaking as a multi-line text control does it: at every line break of the text, and
// otherwise after the last blank that still fits, a word wider than the line being broken
// between characters. Pure; the width of a piece of text comes from the caller.

namespace medrec::engine {

// Splits at CR LF, LF or CR. A break at the very end starts no further line and an empty text
// has no lines (a memo's lines as the site's list of strings holds them).
std::vector<std::string> splitLines(std::string_view text);

using WidthOf = std::function<double(std::string_view)>;

// The lines of `paragraph` (no line breaks in it) within `width`. Blanks at a break are dropped;
// blanks at the start of the paragraph are kept. An empty paragraph gives one empty line.
std::vector<std::string> wrapParagraph(std::string_view paragraph, double width, const WidthOf& widthOf);

// splitLines, then wrapParagraph on each line.
std::vector<std::string> wrapText(std::string_view text, double width, const WidthOf& widthOf);

} // namespace medrec::engine
