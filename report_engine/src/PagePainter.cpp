#include "report_engine/PagePainter.h"

#include "report_engine/FontFaces.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>

namespace medrec::engine {

namespace {

QColor toQColor(const Color& c)
{
    return QColor(c.r, c.g, c.b);
}

Qt::PenStyle toQt(PenStyle s)
{
    switch (s) {
    case PenStyle::Solid:
        return Qt::SolidLine;
    case PenStyle::Dash:
        return Qt::DashLine;
    case PenStyle::Dot:
        return Qt::DotLine;
    case PenStyle::None:
        break;
    }
    return Qt::NoPen;
}

} // namespace

const QImage& PagePainter::imageFor(const RasterImage& image)
{
    auto it = m_images.find(&image);
    if (it != m_images.end())
        return it->second;
    const QImage::Format format = image.channels == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888;
    // Wraps the decoded pixels (no copy); the RasterImage outlives the page being painted.
    QImage wrapped(image.pixels.data(), image.width, image.height, image.width * image.channels, format);
    return m_images.emplace(&image, wrapped).first->second;
}

void PagePainter::paintPage(const Page& page, QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    const double sx = device->logicalDpiX() / kMmPerInch;
    const double sy = device->logicalDpiY() / kMmPerInch;
    auto point = [&](const PointMm& p) { return QPointF(p.x * sx, p.y * sy); };
    auto rect = [&](const RectMm& r) { return QRectF(r.left * sx, r.top * sy, r.width * sx, r.height * sy); };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const Element& e : page.elements) {
        if (e.clip)
            painter.setClipRect(rect(*e.clip));
        else
            painter.setClipping(false);
        switch (e.kind) {
        case ElementKind::Text: {
            painter.setFont(toQFont(e.font));
            painter.setPen(toQColor(e.font.color));
            painter.drawText(point(e.origin), QString::fromStdString(e.text));
            break;
        }
        case ElementKind::Shape: {
            const bool outlined = e.pen.style != PenStyle::None && e.pen.width > 0;
            QRectF r = rect(e.rect);
            if (outlined) {
                QPen pen(toQColor(e.pen.color), e.pen.width * sx, toQt(e.pen.style), Qt::SquareCap, Qt::MiterJoin);
                painter.setPen(pen);
                const double h = e.pen.width * sx / 2;
                r.adjust(h, h, -h, -h); // the outline lies inside the box
            } else {
                painter.setPen(Qt::NoPen);
            }
            painter.setBrush(e.fill ? QBrush(toQColor(*e.fill)) : QBrush(Qt::NoBrush));
            if (e.shape == ShapeKind::Ellipse)
                painter.drawEllipse(r);
            else if (e.shape == ShapeKind::RoundedRectangle)
                painter.drawRoundedRect(r, 2 * sx, 2 * sy);
            else
                painter.drawRect(r);
            painter.setBrush(Qt::NoBrush);
            break;
        }
        case ElementKind::Line: {
            if (e.pen.style == PenStyle::None || e.pen.width <= 0)
                break;
            painter.setPen(QPen(toQColor(e.pen.color), e.pen.width * sx, toQt(e.pen.style), Qt::FlatCap));
            painter.drawLine(point(e.from), point(e.to));
            break;
        }
        case ElementKind::Image:
            if (e.image)
                painter.drawImage(rect(e.rect), imageFor(*e.image));
            break;
        case ElementKind::Barcode: {
            double x = e.rect.left;
            for (std::size_t i = 0; i < e.bars.size(); ++i) {
                if (i % 2 == 0)
                    painter.fillRect(rect({x, e.rect.top, e.bars[i], e.rect.height}), Qt::black);
                x += e.bars[i];
            }
            break;
        }
        }
    }
    painter.restore();
}

} // namespace medrec::engine
