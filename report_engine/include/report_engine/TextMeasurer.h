#pragma once

#include "report_engine/Style.h"

#include <string_view>

namespace medrec::engine {

struct LineMetrics {
    double ascent = 0;  // mm above the baseline
    double descent = 0; // mm below it
    double height() const { return ascent + descent; } // distance from one line to the next
};

// How wide text is in a font, in mm. The engine breaks, stretches and paginates with it; the
// Qt implementation (QtTextMeasurer) uses the faces the painters print with.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual double advance(const FontSpec& font, std::string_view utf8) const = 0;
    virtual LineMetrics lineMetrics(const FontSpec& font) const = 0;
};

} // namespace medrec::engine
