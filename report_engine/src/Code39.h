#pragma once

#include <string>
#include <string_view>
#include <vector>

// Code 39 symbols, as the site's barcode face prints them.

namespace medrec::engine {

struct Code39 {
    std::string symbol;       // what is encoded, with the '*' start and stop characters
    std::vector<double> bars; // element widths, bar first, bars and spaces alternating
    double width = 0;         // sum of the widths
};

// The characters of `text` that Code 39 cannot encode, each once, in order (UTF-8); empty when
// it can encode all of it. Lower-case letters count as their capitals; a '*' start and stop
// pair around the text is allowed, a '*' inside it is not.
std::string code39Unencodable(std::string_view text);

// Encodes `text` (lower-case letters as upper case) between '*' start and stop characters,
// which are added unless the text has them already. Narrow elements are `narrow` wide, wide
// ones `narrow * ratio`; characters are separated by one narrow space. Throws ReportError when
// the text holds a character Code 39 cannot encode: a barcode never says less than its text.
Code39 encodeCode39(std::string_view text, double narrow, double ratio);

} // namespace medrec::engine
