#include "report_engine/Output.h"

#include "report_engine/PagePainter.h"

#include "PagedOutput.h"
#include "system/Environment.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <cstdio>

namespace medrec::engine {

QPageLayout pageLayoutOf(const Page& page)
{
    const double shortSide = std::min(page.paper.width, page.paper.height);
    const double longSide = std::max(page.paper.width, page.paper.height);
    QPageLayout layout(QPageSize(QSizeF(shortSide, longSide), QPageSize::Millimeter),
                       page.orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

std::string paintDocument(QPagedPaintDevice& device, const Document& document,
                          const std::function<void(int, int)>& progress)
{
    if (document.pages.empty())
        return "the document has no pages";
    device.setPageLayout(pageLayoutOf(document.pages.front()));
    QPainter painter;
    if (!painter.begin(&device))
        return "cannot start painting on the output device";
    PagePainter pages;
    const int total = int(document.pages.size());
    for (int i = 0; i < total; ++i) {
        const Page& page = document.pages[std::size_t(i)];
        if (i > 0) {
            device.setPageLayout(pageLayoutOf(page));
            if (!device.newPage()) {
                painter.end();
                return "the output device refused a new page";
            }
        }
        pages.paintPage(page, painter);
        if (progress)
            progress(i + 1, total);
    }
    if (!painter.end())
        return "the output device failed to finish the document";
    return {};
}

std::string writePdf(const Document& document, const std::filesystem::path& file)
{
    QPdfWriter writer(QString::fromStdString(platform::utf8FromPath(file)));
    writer.setResolution(1200);
    writer.setTitle(QString::fromStdString(document.title));
    writer.setCreator(QStringLiteral("medrec report engine"));
    std::string error = paintDocument(writer, document);
    if (!error.empty())
        return file.string() + ": " + error;
    return {};
}

QImage renderPage(const Page& page, double dpi)
{
    const int w = int(std::lround(page.paper.width / kMmPerInch * dpi));
    const int h = int(std::lround(page.paper.height / kMmPerInch * dpi));
    QImage image(w, h, QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    PagePainter pages;
    pages.paintPage(page, painter);
    painter.end();
    return image;
}

std::string writePngPages(const Document& document, const std::filesystem::path& dir, double dpi,
                          std::vector<std::filesystem::path>* written)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec)
        return dir.string() + ": " + ec.message();
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "page-%03zu.png", i + 1);
        const auto file = dir / name;
        if (!renderPage(document.pages[i], dpi).save(QString::fromStdString(platform::utf8FromPath(file)), "PNG"))
            return file.string() + ": cannot write the image";
        if (written)
            written->push_back(file);
    }
    return {};
}

} // namespace medrec::engine
