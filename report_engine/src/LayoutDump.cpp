#include "report_engine/LayoutDump.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace medrec::engine {

namespace {

// Whole tenths of a millimetre; -0 prints as 0.
long tenths(double mm)
{
    const long v = std::lround(mm * 10);
    return v == 0 ? 0 : v;
}

std::string rect(const RectMm& r)
{
    return "[" + std::to_string(tenths(r.left)) + "," + std::to_string(tenths(r.top)) + " " +
           std::to_string(tenths(r.width)) + "x" + std::to_string(tenths(r.height)) + "]";
}

std::string point(const PointMm& p)
{
    return std::to_string(tenths(p.x)) + "," + std::to_string(tenths(p.y));
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string points(double size)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%gpt", std::round(size * 10) / 10);
    return buf;
}

std::string pen(const Pen& p)
{
    static const char* const styles[] = {"solid", "dash", "dot", "none"};
    return "pen=" + std::to_string(tenths(p.width)) + " " + toHex(p.color) + " " + styles[int(p.style)];
}

std::string font(const FontSpec& f)
{
    std::string out = quoted(f.family) + " " + points(f.sizePt);
    if (f.bold)
        out += " bold";
    if (f.italic)
        out += " italic";
    if (f.underline)
        out += " underline";
    if (f.strikeOut)
        out += " strike";
    if (!(f.color == Color::black()))
        out += " color=" + toHex(f.color);
    return out;
}

std::string place(const Element& e)
{
    return (e.band.empty() ? "-" : e.band) + "/" + (e.component.empty() ? "-" : e.component);
}

void element(std::ostringstream& out, const Element& e)
{
    out << "  ";
    switch (e.kind) {
    case ElementKind::Text:
        out << "text " << place(e) << " " << rect(e.rect) << " " << font(e.font);
        if (e.align != HAlign::Left)
            out << (e.align == HAlign::Center ? " center" : " right") << " x=" << tenths(e.origin.x);
        if (e.printTime)
            out << " printTime";
        break;
    case ElementKind::Shape: {
        static const char* const shapes[] = {"rect", "roundRect", "ellipse"};
        out << "shape " << place(e) << " " << shapes[int(e.shape)] << " " << rect(e.rect)
            << " fill=" << (e.fill ? toHex(*e.fill) : "none") << " " << pen(e.pen);
        break;
    }
    case ElementKind::Line:
        out << "line " << place(e) << " from=" << point(e.from) << " to=" << point(e.to) << " " << pen(e.pen);
        break;
    case ElementKind::Image:
        out << "image " << place(e) << " " << rect(e.rect);
        if (e.image)
            out << " " << e.image->width << "x" << e.image->height << "px";
        break;
    case ElementKind::Barcode:
        out << "barcode " << place(e) << " " << rect(e.rect);
        break;
    }
    if (e.clip)
        out << " clip=" << rect(*e.clip);
    if (e.kind == ElementKind::Text || e.kind == ElementKind::Barcode)
        out << " " << quoted(e.text);
    out << "\n";
}

} // namespace

std::string dumpDocument(const Document& document)
{
    std::ostringstream out;
    out << "document " << quoted(document.title) << " pages=" << document.pages.size() << "\n";
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
        const Page& page = document.pages[i];
        out << "page " << i + 1 << " number=" << page.number << " paper=" << tenths(page.paper.width) << "x"
            << tenths(page.paper.height) << (page.orientation == Orientation::Landscape ? " landscape" : " portrait")
            << " body=" << rect(page.body) << "\n";
        for (const Element& e : page.elements)
            element(out, e);
    }
    for (const LayoutWarning& w : document.warnings)
        out << "warning " << warningKindName(w.kind) << " form=" << w.form << " " << (w.band.empty() ? "-" : w.band) << "/"
            << (w.component.empty() ? "-" : w.component) << " page=" << w.page << " " << quoted(w.text) << "\n";
    return out.str();
}

} // namespace medrec::engine
