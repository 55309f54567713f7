#pragma once

#include "report_engine/TextMeasurer.h"

#include <QFontMetricsF>
#include <QImage>

#include <memory>
#include <string>
#include <unordered_map>

// Measures text with the real faces through QFontMetricsF, at the painters' reference resolution
// (1200 dpi), so line breaks and stretching are those of the printed page. Needs a
// QGuiApplication (the offscreen platform will do). Caches metrics per font and the width of
// every text measured (forms repeat their texts: times, codes, numbers, the same words while a
// memo is wrapped); not thread-safe.

namespace medrec::engine {

class QtTextMeasurer final : public TextMeasurer {
public:
    QtTextMeasurer();
    double advance(const FontSpec& font, std::string_view utf8) const override;
    LineMetrics lineMetrics(const FontSpec& font) const override;

private:
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    struct Face {
        std::unique_ptr<QFontMetricsF> metrics;
        std::unordered_map<std::string, double, TextHash, std::equal_to<>> widths; // mm, by text
    };
    Face& faceFor(const FontSpec& font) const;

    QImage m_reference; // a 1200 dpi device the fonts are resolved for
    mutable std::unordered_map<std::string, Face> m_faces;
    // Layout measures text after text in one font: the face asked for last is kept at hand.
    mutable FontSpec m_lastFont;
    mutable Face* m_lastFace = nullptr;
};

} // namespace medrec::engine
