#pragma once

#include "report_engine/TextMeasurer.h"

#include <QFontMetricsF>
#include <QImage>

#include <memory>
#include <string>
#include <unordered_map>

// Measures text with the real faces through QFontMetricsF, at the painters' reference resolution
// (1200 dpi), so line breaks and stretching are those of the printed page. Needs a
// QGuiApplication (the offscreen platform will do). Caches metrics per font; not thread-safe.

namespace medrec::report {

class QtTextMeasurer final : public TextMeasurer {
public:
    QtTextMeasurer();
    double advance(const FontSpec& font, std::string_view utf8) const override;
    LineMetrics lineMetrics(const FontSpec& font) const override;

private:
    const QFontMetricsF& metricsFor(const FontSpec& font) const;

    QImage m_reference; // a 1200 dpi device the fonts are resolved for
    mutable std::unordered_map<std::string, std::unique_ptr<QFontMetricsF>> m_cache;
};

} // namespace medrec::report
