#include "BandLayout.h"

#include "Code39.h"
#include "TextWrap.h"

#include "report_engine/ReportError.h"

#include <algorithm>
#include <numeric>

namespace medrec::engine {

namespace {

// A Code 39 face at 1 em draws a character (13 narrow elements with its gap at 1:2) about 0.6 em
// wide, the proportions of the site's barcode font.
constexpr double kBarcodeNarrowPerEm = 0.046;

Element shapeElement(const RectMm& rect, std::optional<Color> fill, const Pen& pen, ShapeKind kind = ShapeKind::Rectangle)
{
    Element e;
    e.kind = ElementKind::Shape;
    e.rect = rect;
    e.fill = fill;
    e.pen = pen;
    e.shape = kind;
    return e;
}

Element lineElement(PointMm from, PointMm to, const Pen& pen)
{
    Element e;
    e.kind = ElementKind::Line;
    e.from = from;
    e.to = to;
    e.pen = pen;
    const double half = pen.width / 2;
    if (from.y == to.y)
        e.rect = {std::min(from.x, to.x), from.y - half, std::abs(to.x - from.x), pen.width};
    else if (from.x == to.x)
        e.rect = {from.x - half, std::min(from.y, to.y), pen.width, std::abs(to.y - from.y)};
    else
        e.rect = {std::min(from.x, to.x), std::min(from.y, to.y), std::abs(to.x - from.x), std::abs(to.y - from.y)};
    return e;
}

bool blankLine(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace

std::vector<Element> frameLines(const RectMm& r, const Frame& f, bool top, bool bottom)
{
    std::vector<Element> out;
    Pen pen;
    pen.width = f.width;
    pen.color = f.color;
    const double h = f.width / 2;
    if (f.top && top)
        out.push_back(lineElement({r.left, r.top + h}, {r.right(), r.top + h}, pen));
    if (f.bottom && bottom)
        out.push_back(lineElement({r.left, r.bottom() - h}, {r.right(), r.bottom() - h}, pen));
    if (f.left)
        out.push_back(lineElement({r.left + h, r.top}, {r.left + h, r.bottom()}, pen));
    if (f.right)
        out.push_back(lineElement({r.right() - h, r.top}, {r.right() - h, r.bottom()}, pen));
    return out;
}

std::vector<std::string> wrapToWidth(const std::vector<std::string>& paragraphs, const FontSpec& font, double width,
                                     const TextMeasurer& measurer)
{
    auto widthOf = [&](std::string_view s) { return measurer.advance(font, s); };
    std::vector<std::string> lines;
    for (const std::string& p : paragraphs) {
        auto wrapped = wrapParagraph(p, width, widthOf);
        lines.insert(lines.end(), std::make_move_iterator(wrapped.begin()), std::make_move_iterator(wrapped.end()));
    }
    return lines;
}

std::vector<Unit> BandContent::lineUnits() const
{
    std::vector<Unit> out = blankLines;
    for (const Item& i : items)
        if (!i.container && !i.splittable)
            out.push_back(i.line);
    return out;
}

std::vector<Unit> BandContent::cutUnits() const
{
    std::vector<Unit> out = units();
    out.insert(out.end(), blankLines.begin(), blankLines.end());
    return out;
}

double BandContent::continuationInset(double cut) const
{
    std::optional<double> inset;
    // Boxes side by side that the cut goes through move as one: none is set lower than its own gap.
    for (const StretchedBox& box : stretchedBoxes)
        if (box.top <= cut + kEpsilonMm && cut < box.bottom - kEpsilonMm)
            inset = std::min(inset.value_or(box.gap), box.gap);
    return inset.value_or(0);
}

std::vector<Unit> BandContent::units() const
{
    std::vector<Unit> out;
    out.reserve(items.size());
    for (const Item& i : items)
        if (!i.container)
            out.push_back(i.unit);
    return out;
}

BandBuilder::BandBuilder(const TextMeasurer& measurer, ImageStore& images, const DateTime& printTime)
    : m_measurer(measurer), m_images(images), m_printTime(printTime)
{
}

void BandBuilder::placeLine(Element& e, const RectMm& box, HAlign align, bool autoSize) const
{
    const LineMetrics lm = m_measurer.lineMetrics(e.font);
    e.textWidth = e.text.empty() ? 0 : m_measurer.advance(e.font, e.text);
    RectMm b = box;
    if (autoSize) {
        if (align == HAlign::Right)
            b.left = box.right() - e.textWidth;
        else if (align == HAlign::Center)
            b.left = box.left + (box.width - e.textWidth) / 2;
        b.width = e.textWidth;
    }
    e.rect.left = b.left;
    e.rect.width = b.width;
    double x = b.left;
    if (align == HAlign::Center)
        x = b.left + (b.width - e.textWidth) / 2;
    else if (align == HAlign::Right)
        x = b.right() - e.textWidth;
    e.origin = {x, e.rect.top + lm.ascent};
}

void BandBuilder::addBoxDecoration(Built& b, const TextBox& t, bool stretched) const
{
    const Unit unit{b.box.top, b.box.bottom()};
    if (!t.transparent && t.color) {
        Item bg;
        bg.element = shapeElement(b.box, t.color, Pen{0, Color::black(), PenStyle::None});
        bg.element.component = t.name;
        bg.container = stretched;
        bg.unit = unit;
        b.items.insert(b.items.begin(), bg);
    }
    if (t.frame.any()) {
        Item fr;
        fr.container = stretched;
        fr.frame = t.frame;
        fr.unit = unit;
        if (stretched) {
            fr.element = shapeElement(b.box, std::nullopt, Pen{0, Color::black(), PenStyle::None});
            fr.element.component = t.name;
            b.items.push_back(fr);
        } else {
            for (Element& line : frameLines(b.box, t.frame, true, true)) {
                fr.element = line;
                fr.element.component = t.name;
                b.items.push_back(fr);
            }
        }
    }
}

BandBuilder::Built BandBuilder::buildText(const TextBox& t, std::vector<std::string> raw, bool allowStretch,
                                          const std::vector<std::size_t>& keepWithNext) const
{
    Built b;
    b.box = t.box;
    b.designTop = t.box.top;
    b.designBottom = t.box.bottom();
    const LineMetrics lm = m_measurer.lineMetrics(t.font);
    const double lh = lm.height();

    // The printed lines, and where each of the given lines starts among them (plus the end).
    std::vector<std::string> lines;
    std::vector<std::size_t> firstOf;
    firstOf.reserve(raw.size() + 1);
    if (t.wordWrap && !t.autoSize && t.box.width > 0) {
        const auto widthOf = [&](std::string_view s) { return m_measurer.advance(t.font, s); };
        for (const std::string& paragraph : raw) {
            firstOf.push_back(lines.size());
            auto wrapped = wrapParagraph(paragraph, t.box.width, widthOf);
            lines.insert(lines.end(), std::make_move_iterator(wrapped.begin()),
                         std::make_move_iterator(wrapped.end()));
        }
    } else {
        for (std::size_t i = 0; i < raw.size(); ++i)
            firstOf.push_back(i);
        lines = raw;
    }
    firstOf.push_back(lines.size());
    if (t.autoSize) {
        double w = 0;
        for (const std::string& l : lines)
            w = std::max(w, m_measurer.advance(t.font, l));
        if (t.alignment == HAlign::Right)
            b.box.left = t.box.right() - w;
        else if (t.alignment == HAlign::Center)
            b.box.left = t.box.left + (t.box.width - w) / 2;
        b.box.width = w;
    }
    if (b.box.height <= kEpsilonMm)
        b.box.height = lh;
    const double textHeight = double(lines.size()) * lh;
    const bool stretched = allowStretch && t.autoStretch && textHeight > b.box.height + kEpsilonMm;
    if (stretched) {
        b.growth = textHeight - b.box.height;
        b.box.height = textHeight;
    }
    double y0 = b.box.top;
    if (textHeight < b.box.height) {
        if (t.verticalAlignment == VAlign::Middle)
            y0 += (b.box.height - textHeight) / 2;
        else if (t.verticalAlignment == VAlign::Bottom)
            y0 += b.box.height - textHeight;
    }
    constexpr std::size_t kNoItem = std::size_t(-1);
    std::vector<std::size_t> itemOfLine(lines.size(), kNoItem);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double y = y0 + double(i) * lh;
        // A box that does not stretch shows the lines that fit (always the first).
        if (!stretched && i > 0 && y + lh > b.box.bottom() + kEpsilonMm) {
            Loss loss{WarningKind::LinesHidden, t.name, {}, 0};
            for (std::size_t k = i; k < lines.size(); ++k) {
                if (lines[k].empty())
                    continue;
                if (loss.text.empty())
                    loss.text = lines[k];
                ++loss.count;
            }
            if (loss.count > 0)
                b.losses.push_back(std::move(loss));
            break;
        }
        if (lines[i].empty()) {
            if (stretched)
                b.blankLines.push_back({y, y + lh});
            continue;
        }
        Item item;
        Element& e = item.element;
        e.kind = ElementKind::Text;
        e.component = t.name;
        e.text = lines[i];
        e.font = t.font;
        e.align = t.alignment;
        e.rect = {b.box.left, y, b.box.width, lh};
        placeLine(e, b.box, t.alignment, false);
        item.unit = stretched ? Unit{y, y + lh} : Unit{b.box.top, b.box.bottom()};
        if (!t.autoSize)
            item.hclip = std::make_pair(b.box.left, b.box.right());
        itemOfLine[i] = b.items.size();
        b.items.push_back(std::move(item));
    }
    // A marked line is kept with the first non-blank line after it: that line's unit reaches up
    // to the top of the marked one, so no cut falls between them. A chain of marked lines
    // overlaps and stays together as a whole.
    if (stretched) {
        for (const std::size_t marked : keepWithNext) {
            if (marked >= raw.size())
                continue;
            std::size_t next = marked + 1;
            while (next < raw.size() && blankLine(raw[next]))
                ++next;
            if (next == raw.size() || firstOf[next] >= lines.size())
                continue;
            const std::size_t item = itemOfLine[firstOf[next]];
            if (item == kNoItem)
                continue;
            Unit& unit = b.items[item].unit;
            unit.top = std::min(unit.top, y0 + double(firstOf[marked]) * lh);
        }
    }
    addBoxDecoration(b, t, stretched);
    return b;
}

BandBuilder::Built BandBuilder::buildBarcode(const Label& l) const
{
    Built b;
    b.box = l.box;
    b.designTop = l.box.top;
    b.designBottom = l.box.bottom();
    const auto face = barcodeFace(l.font.family);
    const double em = pt(l.font.sizePt);
    if (b.box.height <= kEpsilonMm)
        b.box.height = em;
    if (!l.caption.empty()) {
        if (const std::string bad = code39Unencodable(l.caption); !bad.empty())
            throw ReportError("barcode \"" + l.name + "\": its text \"" + l.caption + "\" holds \"" + bad +
                              "\", which Code 39 cannot encode");
        const Code39 code = encodeCode39(l.caption, kBarcodeNarrowPerEm * em, face ? face->ratio : 3);
        if (l.autoSize) {
            if (l.alignment == HAlign::Right)
                b.box.left = l.box.right() - code.width;
            else if (l.alignment == HAlign::Center)
                b.box.left = l.box.left + (l.box.width - code.width) / 2;
            b.box.width = code.width;
        }
        double x = b.box.left;
        if (l.alignment == HAlign::Center)
            x = b.box.left + (b.box.width - code.width) / 2;
        else if (l.alignment == HAlign::Right)
            x = b.box.right() - code.width;
        Item item;
        item.element.kind = ElementKind::Barcode;
        item.element.component = l.name;
        item.element.text = code.symbol;
        item.element.font = l.font;
        item.element.rect = {x, b.box.top, code.width, b.box.height};
        item.element.bars = code.bars;
        item.unit = {b.box.top, b.box.bottom()};
        if (!l.autoSize)
            item.hclip = std::make_pair(b.box.left, b.box.right());
        b.items.push_back(std::move(item));
    }
    addBoxDecoration(b, l, false);
    return b;
}

BandBuilder::Built BandBuilder::buildSystemField(const SystemField& s) const
{
    std::string value;
    switch (s.kind) {
    case SystemKind::PageNumber:
        break;
    case SystemKind::Date:
        value = formatDateTime(m_printTime, s.format.empty() ? "yyyy-MM-dd" : s.format);
        break;
    case SystemKind::Time:
        value = formatDateTime(m_printTime, s.format.empty() ? "HH:mm:ss" : s.format);
        break;
    case SystemKind::DateTime:
        value = formatDateTime(m_printTime, s.format.empty() ? "yyyy-MM-dd HH:mm:ss" : s.format);
        break;
    }
    if (s.kind != SystemKind::PageNumber) {
        TextBox t = s;
        t.wordWrap = false;
        Built b = buildText(t, {s.prefix + value}, false);
        for (Item& item : b.items)
            item.element.printTime = item.element.kind == ElementKind::Text;
        return b;
    }
    // The page number is filled in where the band lands on a page.
    TextBox t = s;
    t.wordWrap = false;
    t.autoSize = false;
    Built b = buildText(t, {"0"}, false);
    for (Item& item : b.items) {
        if (item.element.kind != ElementKind::Text)
            continue;
        item.pageTemplate = s.prefix + (s.format.empty() ? "{page}" : s.format);
        item.textBox = s.box;
        if (item.textBox.height <= kEpsilonMm)
            item.textBox.height = item.element.rect.height;
        item.autoSize = s.autoSize;
        if (s.autoSize)
            item.hclip.reset();
    }
    return b;
}

std::optional<BandBuilder::Built> BandBuilder::buildComponent(const Component& c, bool allowStretch) const
{
    if (!base(c).enabled)
        return std::nullopt;
    if (const auto* l = std::get_if<Label>(&c)) {
        if (barcodeFace(l->font.family))
            return buildBarcode(*l);
        return buildText(*l, splitLines(l->caption), allowStretch);
    }
    if (const auto* m = std::get_if<Memo>(&c))
        return buildText(*m, m->lines, allowStretch, m->keepWithNext);
    if (const auto* s = std::get_if<SystemField>(&c))
        return buildSystemField(*s);

    Built b;
    b.box = base(c).box;
    b.designTop = b.box.top;
    b.designBottom = b.box.bottom();
    Item item;
    item.unit = {b.box.top, b.box.bottom()};
    if (const auto* s = std::get_if<Shape>(&c)) {
        item.element = shapeElement(s->box, s->brush, s->pen, s->kind);
        b.growToBottom = s->growToBottom;
        b.followStretch = s->followStretch;
    } else if (const auto* ln = std::get_if<Line>(&c)) {
        const RectMm& r = ln->box;
        b.growToBottom = ln->growToBottom && ln->direction != LineDirection::Horizontal;
        b.followStretch = ln->followStretch && ln->direction != LineDirection::Horizontal;
        switch (ln->direction) {
        case LineDirection::Horizontal:
            item.element = lineElement({r.left, r.top + r.height / 2}, {r.right(), r.top + r.height / 2}, ln->pen);
            break;
        case LineDirection::Vertical:
            item.element = lineElement({r.left + r.width / 2, r.top}, {r.left + r.width / 2, r.bottom()}, ln->pen);
            break;
        case LineDirection::DiagonalDown:
            item.element = lineElement({r.left, r.top}, {r.right(), r.bottom()}, ln->pen);
            break;
        case LineDirection::DiagonalUp:
            item.element = lineElement({r.left, r.bottom()}, {r.right(), r.top}, ln->pen);
            break;
        }
    } else if (const auto* p = std::get_if<Picture>(&c)) {
        auto image = m_images.get(p->file, p->resolved);
        if (!image) { // the page prints without it
            b.losses.push_back({WarningKind::PictureUnreadable, p->name, p->file, 1});
            return b;
        }
        item.element.kind = ElementKind::Image;
        item.element.image = image;
        RectMm r = p->box;
        if (!p->stretch || p->keepAspect) {
            const double natW = image->width * kMmPerInch / (image->dpiX > 0 ? image->dpiX : 96.0);
            const double natH = image->height * kMmPerInch / (image->dpiY > 0 ? image->dpiY : 96.0);
            double w = natW;
            double h = natH;
            if (p->stretch) { // keep the aspect
                const double scale = std::min(r.width / natW, r.height / natH);
                w = natW * scale;
                h = natH * scale;
            }
            if (p->center || p->keepAspect)
                r = {r.left + (r.width - w) / 2, r.top + (r.height - h) / 2, w, h};
            else
                r = {r.left, r.top, w, h};
            item.hclip = std::make_pair(p->box.left, p->box.right());
        }
        item.element.rect = r;
    }
    item.element.component = base(c).name;
    b.items.push_back(std::move(item));
    return b;
}

// How far the form sets a component below what lies above it, or below the band's top: the gap
// its continued part keeps under the next page's header. Only that gap: the components above it
// stay on the page before.
static double gapAbove(const std::vector<BandBuilder::Built>& built, std::size_t i)
{
    const BandBuilder::Built& b = built[i];
    double above = 0;
    for (std::size_t j = 0; j < built.size(); ++j) {
        const BandBuilder::Built& o = built[j];
        const bool overlapsAcross = o.box.left < b.box.right() - kEpsilonMm && b.box.left < o.box.right() - kEpsilonMm;
        if (j != i && overlapsAcross && o.designBottom <= b.designTop + kEpsilonMm)
            above = std::max(above, o.designBottom);
    }
    return std::max(0.0, b.designTop - above);
}

BandContent BandBuilder::assemble(const std::string& name, const std::vector<Component>& components, double width,
                                  double height, bool allowStretch) const
{
    std::vector<Built> built;
    built.reserve(components.size());
    for (const Component& c : components)
        if (auto b = buildComponent(c, allowStretch))
            built.push_back(std::move(*b));

    // Components below a stretched one move down with it; in top order, so that a memo below a
    // memo moves by the growth of both.
    std::vector<std::size_t> order(built.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return built[a].designTop < built[b].designTop; });
    std::vector<double> shift(built.size(), 0);
    double totalGrowth = 0;
    for (std::size_t oi = 0; oi < order.size(); ++oi) {
        const std::size_t i = order[oi];
        for (std::size_t oj = 0; oj < oi; ++oj) {
            const std::size_t j = order[oj];
            if (built[j].growth > 0 && built[j].designBottom <= built[i].designTop + kEpsilonMm)
                shift[i] = std::max(shift[i], shift[j] + built[j].growth);
        }
        if (built[i].growth > 0)
            totalGrowth = std::max(totalGrowth, shift[i] + built[i].growth);
    }

    // How far a rule's or shape's lower edge moves beyond its own shift: to keep its distance
    // from the grown band's foot (growToBottom), or as far as the text ending above that edge
    // pushed what lies below (followStretch).
    std::vector<double> extend(built.size(), 0);
    for (std::size_t i = 0; i < built.size(); ++i) {
        if (built[i].growToBottom)
            extend[i] = totalGrowth - shift[i];
        if (built[i].followStretch)
            for (std::size_t j = 0; j < built.size(); ++j)
                if (built[j].growth > 0 && built[j].designBottom <= built[i].designBottom + kEpsilonMm)
                    extend[i] = std::max(extend[i], shift[j] + built[j].growth - shift[i]);
    }

    BandContent content;
    content.band = name;
    content.width = width;
    content.height = height + totalGrowth;
    content.stretched = totalGrowth > kEpsilonMm;
    for (std::size_t i = 0; i < built.size(); ++i) {
        Built& b = built[i];
        const RectMm box = b.box.translated(0, shift[i]);
        // Wholly outside the band: not printed (a component moved off the band to hide it).
        if (box.right() < -kEpsilonMm || box.left > width + kEpsilonMm || box.bottom() < -kEpsilonMm ||
            box.top > content.height + kEpsilonMm)
            continue;
        if (b.growth > 0)
            content.stretchedBoxes.push_back({box.top, box.bottom(), gapAbove(built, i)});
        for (Item& item : b.items) {
            Element& e = item.element;
            e.rect = e.rect.translated(0, shift[i]);
            e.origin.y += shift[i];
            e.from.y += shift[i];
            e.to.y += shift[i];
            item.textBox = item.textBox.translated(0, shift[i]);
            item.unit.top += shift[i];
            item.unit.bottom += shift[i];
            if (e.kind == ElementKind::Text)
                item.line = {e.rect.top, e.rect.bottom()};
            else
                item.line = item.unit;
            item.splittable = !item.container && (e.kind == ElementKind::Line || e.kind == ElementKind::Shape);
            // Its unit stays the designed one, so a rule along the whole band never keeps the
            // band from being cut between text lines.
            if (extend[i] > kEpsilonMm) {
                const double extra = extend[i];
                e.rect.height += extra;
                (e.from.y > e.to.y ? e.from : e.to).y += extra;
                item.line.bottom += extra;
            }
            content.items.push_back(std::move(item));
        }
        for (const Unit& blank : b.blankLines)
            content.blankLines.push_back({blank.top + shift[i], blank.bottom + shift[i]});
        for (Loss& loss : b.losses)
            content.losses.push_back(std::move(loss));
    }
    return content;
}

BandContent BandBuilder::build(const Band& band, double width) const
{
    BandContent content = assemble(band.name, band.components, width, band.height, true);
    content.keepTogether = band.keepTogether;
    const RectMm rect{0, 0, width, content.height};
    if (band.color) {
        Item bg;
        bg.container = true;
        bg.bandDecoration = true;
        bg.element = shapeElement(rect, band.color, Pen{0, Color::black(), PenStyle::None});
        bg.unit = {0, content.height};
        content.items.insert(content.items.begin(), bg);
    }
    if (band.frame.any()) {
        Item fr;
        fr.container = true;
        fr.bandDecoration = true;
        fr.frame = band.frame;
        fr.element = shapeElement(rect, std::nullopt, Pen{0, Color::black(), PenStyle::None});
        fr.unit = {0, content.height};
        content.items.push_back(fr);
    }
    return content;
}

BandContent BandBuilder::buildFurniture(const std::vector<Component>& components, const SizeMm& paper) const
{
    return assemble({}, components, paper.width, paper.height, false);
}

} // namespace medrec::engine
