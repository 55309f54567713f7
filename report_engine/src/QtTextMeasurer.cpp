#include "report_engine/QtTextMeasurer.h"

#include "report_engine/FontFaces.h"
#include "report_engine/Geometry.h"

#include <QString>

namespace medrec::report {

namespace {

constexpr int kReferenceDpi = 1200;

std::string keyOf(const FontSpec& f)
{
    return f.family + '|' + std::to_string(f.sizePt) + '|' + char('0' + f.bold) + char('0' + f.italic) +
           char('0' + f.underline) + char('0' + f.strikeOut);
}

} // namespace

QtTextMeasurer::QtTextMeasurer() : m_reference(1, 1, QImage::Format_RGB32)
{
    const int dotsPerMeter = qRound(kReferenceDpi / 0.0254);
    m_reference.setDotsPerMeterX(dotsPerMeter);
    m_reference.setDotsPerMeterY(dotsPerMeter);
}

const QFontMetricsF& QtTextMeasurer::metricsFor(const FontSpec& font) const
{
    const std::string key = keyOf(font);
    auto it = m_cache.find(key);
    if (it == m_cache.end())
        it = m_cache.emplace(key, std::make_unique<QFontMetricsF>(toQFont(font), &m_reference)).first;
    return *it->second;
}

double QtTextMeasurer::advance(const FontSpec& font, std::string_view utf8) const
{
    const double pxPerMm = m_reference.logicalDpiX() / kMmPerInch;
    return metricsFor(font).horizontalAdvance(QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))) / pxPerMm;
}

LineMetrics QtTextMeasurer::lineMetrics(const FontSpec& font) const
{
    if (usesCompactLineMetrics(font.family)) {
        const double em = pt(font.sizePt);
        return {0.90 * em, 0.25 * em};
    }
    const double pxPerMm = m_reference.logicalDpiY() / kMmPerInch;
    const QFontMetricsF& fm = metricsFor(font);
    return {fm.ascent() / pxPerMm, fm.descent() / pxPerMm};
}

} // namespace medrec::report
