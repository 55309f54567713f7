#include "report_engine/QtTextMeasurer.h"

#include "report_engine/FontFaces.h"
#include "report_engine/Geometry.h"

#include <QString>

namespace medrec::engine {

namespace {

constexpr int kReferenceDpi = 1200;
// Widths kept per face before the cache starts over, so a very long run stays bounded.
constexpr std::size_t kMaxCachedWidths = 100000;

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

QtTextMeasurer::Face& QtTextMeasurer::faceFor(const FontSpec& font) const
{
    if (m_lastFace && font == m_lastFont)
        return *m_lastFace;
    Face& face = m_faces[keyOf(font)];
    if (!face.metrics)
        face.metrics = std::make_unique<QFontMetricsF>(toQFont(font), &m_reference);
    m_lastFont = font;
    m_lastFace = &face;
    return face;
}

double QtTextMeasurer::advance(const FontSpec& font, std::string_view utf8) const
{
    Face& face = faceFor(font);
    if (auto it = face.widths.find(utf8); it != face.widths.end())
        return it->second;
    const double pxPerMm = m_reference.logicalDpiX() / kMmPerInch;
    const double width =
        face.metrics->horizontalAdvance(QString::fromUtf8(utf8.data(), qsizetype(utf8.size()))) / pxPerMm;
    if (face.widths.size() >= kMaxCachedWidths)
        face.widths.clear();
    face.widths.emplace(std::string(utf8), width);
    return width;
}

LineMetrics QtTextMeasurer::lineMetrics(const FontSpec& font) const
{
    if (usesCompactLineMetrics(font.family)) {
        const double em = pt(font.sizePt);
        return {0.90 * em, 0.25 * em};
    }
    const double pxPerMm = m_reference.logicalDpiY() / kMmPerInch;
    const QFontMetricsF& fm = *faceFor(font).metrics;
    return {fm.ascent() / pxPerMm, fm.descent() / pxPerMm};
}

} // namespace medrec::engine
