#pragma once

#include "report_engine/Layout.h"

#include <QImage>

#include <map>

class QPainter;

// Draws laid-out pages with QPainter on any device (printer, PDF writer, image). The painter's
// device must have its origin at the paper's top-left corner (full-page mode); its resolution
// gives the scale. One painter per document: decoded pictures are converted once and shared by
// all pages, so a PDF embeds a logo once.

namespace medrec::engine {

class PagePainter {
public:
    // The one painting entry point.
    void paintPage(const Page& page, QPainter& painter);

private:
    const QImage& imageFor(const RasterImage& image);

    std::map<const RasterImage*, QImage> m_images;
};

} // namespace medrec::engine
