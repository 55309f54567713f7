#include "report_engine/LayoutDump.h"

#include <charconv>
#include <cmath>

namespace medrec::engine {

namespace {

// Appends to one string: every print writes this text, so no stream and no temporaries.
class Writer {
public:
    explicit Writer(std::string& out) : m_out(out) {}

    Writer& operator<<(std::string_view s)
    {
        m_out.append(s);
        return *this;
    }
    Writer& operator<<(char c)
    {
        m_out.push_back(c);
        return *this;
    }
    Writer& number(long v)
    {
        char buf[24];
        const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
        m_out.append(buf, end);
        return *this;
    }
    // Whole tenths of a millimetre; -0 prints as 0.
    Writer& tenths(double mm) { return number(std::lround(mm * 10)); }
    Writer& rect(const RectMm& r)
    {
        *this << '[';
        tenths(r.left) << ',';
        tenths(r.top) << ' ';
        tenths(r.width) << 'x';
        return tenths(r.height) << ']';
    }
    Writer& point(const PointMm& p)
    {
        tenths(p.x) << ',';
        return tenths(p.y);
    }
    Writer& quoted(std::string_view text)
    {
        m_out.push_back('"');
        for (char c : text) {
            if (c == '"' || c == '\\')
                m_out.push_back('\\');
            m_out.push_back(c);
        }
        m_out.push_back('"');
        return *this;
    }
    // "#RRGGBB"
    Writer& color(const Color& c)
    {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        m_out.push_back('#');
        for (int v : {int(c.r), int(c.g), int(c.b)}) {
            m_out.push_back(kDigits[(v >> 4) & 15]);
            m_out.push_back(kDigits[v & 15]);
        }
        return *this;
    }
    // A size in points to one decimal, without a trailing ".0": "9pt", "10.5pt".
    Writer& points(double size)
    {
        const long tenthsOfPoint = std::lround(size * 10);
        const long whole = tenthsOfPoint / 10, tenth = std::labs(tenthsOfPoint % 10);
        if (tenthsOfPoint < 0 && whole == 0)
            m_out.push_back('-');
        number(whole);
        if (tenth)
            (*this << '.').number(tenth);
        return *this << "pt";
    }
    Writer& pen(const Pen& p)
    {
        static const char* const styles[] = {"solid", "dash", "dot", "none"};
        *this << "pen=";
        tenths(p.width) << ' ';
        color(p.color) << ' ';
        return *this << styles[int(p.style)];
    }
    Writer& font(const FontSpec& f)
    {
        quoted(f.family) << ' ';
        points(f.sizePt);
        if (f.bold)
            *this << " bold";
        if (f.italic)
            *this << " italic";
        if (f.underline)
            *this << " underline";
        if (f.strikeOut)
            *this << " strike";
        if (!(f.color == Color::black())) {
            *this << " color=";
            color(f.color);
        }
        return *this;
    }
    Writer& place(std::string_view band, std::string_view component)
    {
        *this << (band.empty() ? "-" : band) << '/';
        return *this << (component.empty() ? "-" : component);
    }

private:
    std::string& m_out;
};

void element(Writer& out, const Element& e)
{
    out << "  ";
    switch (e.kind) {
    case ElementKind::Text:
        out << "text ";
        out.place(e.band, e.component) << ' ';
        out.rect(e.rect) << ' ';
        out.font(e.font);
        if (e.align != HAlign::Left) {
            out << (e.align == HAlign::Center ? " center" : " right") << " x=";
            out.tenths(e.origin.x);
        }
        if (e.printTime)
            out << " printTime";
        break;
    case ElementKind::Shape: {
        static const char* const shapes[] = {"rect", "roundRect", "ellipse"};
        out << "shape ";
        out.place(e.band, e.component) << ' ' << shapes[int(e.shape)] << ' ';
        out.rect(e.rect) << " fill=";
        if (e.fill)
            out.color(*e.fill);
        else
            out << "none";
        out << ' ';
        out.pen(e.pen);
        break;
    }
    case ElementKind::Line:
        out << "line ";
        out.place(e.band, e.component) << " from=";
        out.point(e.from) << " to=";
        out.point(e.to) << ' ';
        out.pen(e.pen);
        break;
    case ElementKind::Image:
        out << "image ";
        out.place(e.band, e.component) << ' ';
        out.rect(e.rect);
        if (e.image) {
            out << ' ';
            out.number(e.image->width) << 'x';
            out.number(e.image->height) << "px";
        }
        break;
    case ElementKind::Barcode:
        out << "barcode ";
        out.place(e.band, e.component) << ' ';
        out.rect(e.rect);
        break;
    }
    if (e.clip) {
        out << " clip=";
        out.rect(*e.clip);
    }
    if (e.kind == ElementKind::Text || e.kind == ElementKind::Barcode) {
        out << ' ';
        out.quoted(e.text);
    }
    out << '\n';
}

} // namespace

std::string dumpDocument(const Document& document)
{
    std::string text;
    std::size_t elements = 0;
    for (const Page& page : document.pages)
        elements += page.elements.size();
    text.reserve(128 + elements * 96);
    Writer out(text);
    out << "document ";
    out.quoted(document.title) << " pages=";
    out.number(long(document.pages.size())) << '\n';
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
        const Page& page = document.pages[i];
        out << "page ";
        out.number(long(i + 1)) << " number=";
        out.number(page.number) << " paper=";
        out.tenths(page.paper.width) << 'x';
        out.tenths(page.paper.height) << (page.orientation == Orientation::Landscape ? " landscape" : " portrait")
                                      << " body=";
        out.rect(page.body) << '\n';
        for (const Element& e : page.elements)
            element(out, e);
    }
    for (const LayoutWarning& w : document.warnings) {
        out << "warning " << warningKindName(w.kind) << " form=" << w.form << ' ';
        out.place(w.band, w.component) << " page=";
        out.number(w.page) << ' ';
        out.quoted(w.text) << '\n';
    }
    return text;
}

} // namespace medrec::engine
