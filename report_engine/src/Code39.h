#pragma once

#include <string>
#include <string_view>
#include <vector>

// Code 39 symbols, as the site's barcode face prints them.

namespace medrec::report {

struct Code39 {
    std::string symbol;       // what is encoded, with the '*' start and stop characters
    std::vector<double> bars; // element widths, bar first, bars and spaces alternating
    double width = 0;         // sum of the widths
};

// Encodes `text` (lower-case letters as upper case; characters outside the Code 39 set are left
// out) between '*' start and stop characters, which are added unless the text has them already.
// Narrow elements are `narrow` wide, wide ones `narrow * ratio`; characters are separated by one
// narrow space.
Code39 encodeCode39(std::string_view text, double narrow, double ratio);

} // namespace medrec::report
