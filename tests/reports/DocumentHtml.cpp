#include "DocumentHtml.h"

#include "report_engine/FontFaces.h"

#include <QImage>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

namespace medrec::testing {

namespace {

using namespace medrec::engine;

std::string mm(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string escaped(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

// The stroke as the painter draws it: Qt's dash patterns are in pen widths.
std::string strokeOf(const Pen &pen)
{
    std::string out = " stroke=\"" + toHex(pen.color) + "\" stroke-width=\"" + mm(pen.width) + "\"";
    if (pen.style == PenStyle::Dash)
        out += " stroke-dasharray=\"" + mm(4 * pen.width) + " " + mm(2 * pen.width) + "\"";
    else if (pen.style == PenStyle::Dot)
        out += " stroke-dasharray=\"" + mm(pen.width) + " " + mm(2 * pen.width) + "\"";
    return out;
}

std::string rectAttributes(const RectMm &r)
{
    return " x=\"" + mm(r.left) + "\" y=\"" + mm(r.top) + "\" width=\"" + mm(r.width) + "\" height=\"" +
           mm(r.height) + "\"";
}

// The pages, with the style classes and pictures they share.
class HtmlPages
{
public:
    HtmlPages(std::filesystem::path dir, std::string name) : m_dir(std::move(dir)), m_name(std::move(name)) {}

    std::string page(const Page &page, int index)
    {
        std::ostringstream defs, body;
        std::map<std::string, std::string> clips; // rectangle -> id
        for (const Element &e : page.elements) {
            std::string clip;
            if (e.clip) {
                const std::string key = rectAttributes(*e.clip);
                auto [it, added] =
                    clips.emplace(key, "c" + std::to_string(index) + "-" + std::to_string(clips.size()));
                if (added)
                    defs << "<clipPath id=\"" << it->second << "\"><rect" << key << "/></clipPath>";
                clip = " clip-path=\"url(#" + it->second + ")\"";
            }
            body << element(e, clip);
        }
        const std::string paper = paperClass(page.paper);
        return "<div class=\"page " + paper + "\"><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
               mm(page.paper.width) + "mm\" height=\"" + mm(page.paper.height) + "mm\" viewBox=\"0 0 " +
               mm(page.paper.width) + " " + mm(page.paper.height) + "\"><defs>" + defs.str() + "</defs>" +
               body.str() + "</svg></div>\n";
    }

    std::string style() const
    {
        std::string css = "@page{margin:0}\nhtml{print-color-adjust:exact}\nbody{margin:0}\n"
                          "svg{display:block}\ntext{white-space:pre}\n.page{break-after:page}\n"
                          ".page:last-child{break-after:auto}\n";
        for (const auto &[size, name] : m_papers)
            css += "@page " + name + "{size:" + size + "}\n." + name + "{page:" + name + "}\n";
        for (const auto &[font, name] : m_fonts)
            css += "." + name + "{" + font + "}\n";
        return css;
    }

private:
    std::string element(const Element &e, const std::string &clip)
    {
        switch (e.kind) {
        case ElementKind::Text:
            return "<text class=\"" + fontClass(e.font) + "\" x=\"" + mm(e.origin.x) + "\" y=\"" +
                   mm(e.origin.y) + "\"" + clip + ">" + escaped(e.text) + "</text>";
        case ElementKind::Shape: {
            const bool outlined = e.pen.style != PenStyle::None && e.pen.width > 0;
            const double inset = outlined ? e.pen.width / 2 : 0; // the outline lies inside the box
            const RectMm r{e.rect.left + inset, e.rect.top + inset, e.rect.width - 2 * inset,
                           e.rect.height - 2 * inset};
            const std::string paint = " fill=\"" + (e.fill ? toHex(*e.fill) : std::string("none")) + "\"" +
                                      (outlined ? strokeOf(e.pen) : std::string()) + clip;
            if (e.shape == ShapeKind::Ellipse)
                return "<ellipse cx=\"" + mm(r.left + r.width / 2) + "\" cy=\"" + mm(r.top + r.height / 2) +
                       "\" rx=\"" + mm(r.width / 2) + "\" ry=\"" + mm(r.height / 2) + "\"" + paint + "/>";
            return "<rect" + rectAttributes(r) + (e.shape == ShapeKind::RoundedRectangle ? " rx=\"2\"" : "") +
                   paint + "/>";
        }
        case ElementKind::Line:
            if (e.pen.style == PenStyle::None || e.pen.width <= 0)
                return {};
            return "<line x1=\"" + mm(e.from.x) + "\" y1=\"" + mm(e.from.y) + "\" x2=\"" + mm(e.to.x) +
                   "\" y2=\"" + mm(e.to.y) + "\"" + strokeOf(e.pen) + clip + "/>";
        case ElementKind::Image:
            if (!e.image)
                return {};
            return "<image href=\"" + imageFile(*e.image) + "\"" + rectAttributes(e.rect) +
                   " preserveAspectRatio=\"none\"" + clip + "/>";
        case ElementKind::Barcode: {
            std::string bars;
            double x = e.rect.left;
            for (std::size_t i = 0; i < e.bars.size(); ++i) {
                if (i % 2 == 0)
                    bars += "<rect" + rectAttributes({x, e.rect.top, e.bars[i], e.rect.height}) + clip + "/>";
                x += e.bars[i];
            }
            return bars;
        }
        }
        return {};
    }

    // One class per font: the installed faces the engine prints the site's face in, the size in
    // millimetres (the SVG's unit), weight, slant, lines and colour.
    std::string fontClass(const FontSpec &font)
    {
        std::string families;
        for (const QString &family : substituteFamilies(font.family))
            families += (families.empty() ? "'" : ",'") + family.toStdString() + "'";
        std::string css = std::string("font:") + (font.italic ? "italic " : "") + (font.bold ? "bold " : "") +
                          mm(pt(font.sizePt)) + "px " + families + ";fill:" + toHex(font.color);
        if (font.underline || font.strikeOut)
            css += std::string(";text-decoration:") + (font.underline ? "underline " : "") +
                   (font.strikeOut ? "line-through" : "");
        return m_fonts.emplace(css, "f" + std::to_string(m_fonts.size())).first->second;
    }

    std::string paperClass(const SizeMm &paper)
    {
        const std::string size = mm(paper.width) + "mm " + mm(paper.height) + "mm";
        return m_papers.emplace(size, "paper" + std::to_string(m_papers.size())).first->second;
    }

    std::string imageFile(const RasterImage &image)
    {
        auto it = m_images.find(&image);
        if (it != m_images.end())
            return it->second;
        const std::string file = m_name + "-image" + std::to_string(m_images.size()) + ".png";
        const QImage::Format format = image.channels == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888;
        const QImage wrapped(image.pixels.data(), image.width, image.height, image.width * image.channels,
                             format);
        if (!wrapped.save(QString::fromStdString((m_dir / file).string()), "PNG"))
            throw std::runtime_error((m_dir / file).string() + ": cannot write the picture");
        return m_images.emplace(&image, file).first->second;
    }

    std::filesystem::path m_dir;
    std::string m_name;
    std::map<std::string, std::string> m_fonts;  // style -> class
    std::map<std::string, std::string> m_papers; // size -> page name
    std::map<const RasterImage *, std::string> m_images;
};

} // namespace

std::filesystem::path WriteDocumentHtml(const Document &document, const std::filesystem::path &dir,
                                        const std::string &name)
{
    HtmlPages pages(dir, name);
    std::string body;
    for (std::size_t i = 0; i < document.pages.size(); ++i)
        body += pages.page(document.pages[i], int(i));
    const auto file = dir / (name + ".html");
    std::ofstream out(file, std::ios::binary);
    out << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" << escaped(document.title)
        << "</title><style>\n"
        << pages.style() << "</style></head><body>\n"
        << body << "</body></html>\n";
    if (!out)
        throw std::runtime_error(file.string() + ": cannot write the page");
    return file;
}

} // namespace medrec::testing
