#include "report_engine/FormLoader.h"

#include "report_engine/ReportError.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace medrec::engine {

namespace {

using nlohmann::json;

struct Context {
    std::string source;
    std::filesystem::path baseDir;
    const LoadOptions* options = nullptr;
    std::map<std::string, json> styles; // named font presets
    // The styles being applied, outermost first: a style met again is a cycle.
    mutable std::vector<std::string> styleChain;
};

// Lengths beyond this are no paper form's: refusing them keeps a typo such as 1e9 from
// becoming a band that pages on for ever.
constexpr double kMaxLengthMm = 1000;
constexpr double kMaxFontSizePt = 1000;

[[noreturn]] void fail(const Context& ctx, const std::string& pointer, const std::string& message)
{
    throw ReportError(ctx.source + ": " + (pointer.empty() ? "/" : pointer) + ": " + message);
}

// One JSON object being read. Every key must be taken by the reader: finish() rejects the
// others, so a misspelt key in a form file is an error and not a silently ignored setting.
class Node {
public:
    Node(const json& j, std::string pointer, const Context& ctx) : m_json(j), m_pointer(std::move(pointer)), m_ctx(ctx)
    {
        if (!m_json.is_object())
            fail(m_ctx, m_pointer, "expected an object");
    }

    const std::string& pointer() const { return m_pointer; }
    const Context& context() const { return m_ctx; }
    std::string at(const std::string& key) const { return m_pointer + "/" + key; }

    const json* get(const std::string& key)
    {
        auto it = m_json.find(key);
        if (it == m_json.end())
            return nullptr;
        m_used.insert(key);
        return &*it;
    }
    bool has(const std::string& key) const { return m_json.contains(key); }

    std::string text(const std::string& key, const std::string& fallback = {})
    {
        const json* v = get(key);
        if (!v)
            return fallback;
        if (!v->is_string())
            fail(m_ctx, at(key), "expected a text");
        return v->get<std::string>();
    }
    std::string requiredText(const std::string& key)
    {
        if (!has(key))
            fail(m_ctx, m_pointer, "\"" + key + "\" is missing");
        return text(key);
    }
    bool flag(const std::string& key, bool fallback)
    {
        const json* v = get(key);
        if (!v)
            return fallback;
        if (!v->is_boolean())
            fail(m_ctx, at(key), "expected true or false");
        return v->get<bool>();
    }
    double number(const std::string& key, double fallback)
    {
        const json* v = get(key);
        if (!v)
            return fallback;
        if (!v->is_number())
            fail(m_ctx, at(key), "expected a number");
        const double value = v->get<double>();
        if (!std::isfinite(value))
            fail(m_ctx, at(key), "expected a finite number");
        return value;
    }
    double length(const std::string& key, double fallback)
    {
        const json* v = get(key);
        return v ? lengthOf(*v, at(key)) : fallback;
    }
    double lengthOf(const json& v, const std::string& where) const
    {
        const double mm = rawLengthOf(v, where);
        if (!std::isfinite(mm) || std::abs(mm) > kMaxLengthMm)
            fail(m_ctx, where, "a length is a finite number of mm from -1000 to 1000");
        return mm;
    }
    double rawLengthOf(const json& v, const std::string& where) const
    {
        if (v.is_number())
            return v.get<double>();
        if (!v.is_string())
            fail(m_ctx, where, "expected a length: a number of mm or a text such as \"12px\", \"3.5mm\", \"9pt\"");
        const std::string s = v.get<std::string>();
        double value = 0;
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
        if (ec != std::errc() || !std::isfinite(value))
            fail(m_ctx, where, "\"" + s + "\" is not a length");
        const std::string unit(end, s.data() + s.size());
        if (unit == "mm" || unit.empty())
            return value;
        if (unit == "px")
            return px(value);
        if (unit == "pt")
            return pt(value);
        if (unit == "cm")
            return value * 10;
        fail(m_ctx, where, "unknown unit \"" + unit + "\" (mm, cm, px at 96 dpi or pt)");
    }
    std::optional<Color> color(const std::string& key, std::optional<Color> fallback)
    {
        const json* v = get(key);
        if (!v)
            return fallback;
        return colorOf(*v, at(key));
    }
    std::optional<Color> colorOf(const json& v, const std::string& where) const
    {
        if (v.is_null())
            return std::nullopt;
        if (v.is_number_unsigned() || v.is_number_integer()) {
            const auto n = v.get<long long>();
            if (n < 0 || n > 0xFFFFFF)
                fail(m_ctx, where, "a colour number is a TColor value from 0 to 16777215");
            return Color::fromTColor(std::uint32_t(n));
        }
        if (v.is_string()) {
            const std::string s = v.get<std::string>();
            if (s == "none")
                return std::nullopt;
            if (auto c = parseColor(s))
                return c;
            fail(m_ctx, where, "\"" + s + "\" is not a colour (#RRGGBB, a name, a TColor number or none)");
        }
        fail(m_ctx, where, "expected a colour");
    }
    template <class E>
    E choice(const std::string& key, E fallback, const std::vector<std::pair<const char*, E>>& options)
    {
        const json* v = get(key);
        if (!v)
            return fallback;
        if (v->is_string())
            for (const auto& [name, value] : options)
                if (v->get<std::string>() == name)
                    return value;
        std::string list;
        for (const auto& [name, value] : options)
            list += std::string(list.empty() ? "" : ", ") + name;
        fail(m_ctx, at(key), "expected one of: " + list);
    }

    void finish() const
    {
        for (const auto& [key, value] : m_json.items())
            if (!m_used.count(key))
                fail(m_ctx, at(key), "unknown key \"" + key + "\"");
    }

private:
    const json& m_json;
    std::string m_pointer;
    const Context& m_ctx;
    std::set<std::string> m_used;
};

void applyFont(const json& j, const std::string& where, const Context& ctx, FontSpec& font);

// Applies the named style; a style that leads back to itself is refused with its chain.
void applyStyle(const std::string& name, const std::string& where, const Context& ctx, FontSpec& font)
{
    auto it = ctx.styles.find(name);
    if (it == ctx.styles.end())
        fail(ctx, where, "no style named \"" + name + "\" in \"styles\"");
    if (std::find(ctx.styleChain.begin(), ctx.styleChain.end(), name) != ctx.styleChain.end()) {
        std::string chain;
        for (const std::string& s : ctx.styleChain)
            chain += "\"" + s + "\" -> ";
        fail(ctx, where, "style \"" + name + "\" refers back to itself (" + chain + "\"" + name + "\")");
    }
    ctx.styleChain.push_back(name);
    applyFont(it->second, "/styles/" + name, ctx, font);
    ctx.styleChain.pop_back();
}

void applyFontObject(Node& n, FontSpec& font)
{
    if (n.has("style"))
        applyStyle(n.text("style"), n.at("style"), n.context(), font);
    font.family = n.text("family", font.family);
    font.sizePt = n.number("size", font.sizePt);
    if (font.sizePt <= 0 || font.sizePt > kMaxFontSizePt)
        fail(n.context(), n.at("size"), "a font size is above 0 and at most 1000");
    font.bold = n.flag("bold", font.bold);
    font.italic = n.flag("italic", font.italic);
    font.underline = n.flag("underline", font.underline);
    font.strikeOut = n.flag("strikeOut", font.strikeOut);
    if (n.has("color")) {
        auto c = n.color("color", font.color);
        font.color = c.value_or(Color::black());
    }
    n.finish();
}

// A font given as an object of overrides, or as the name of a style.
void applyFont(const json& j, const std::string& where, const Context& ctx, FontSpec& font)
{
    if (j.is_string()) {
        applyStyle(j.get<std::string>(), where, ctx, font);
        return;
    }
    Node n(j, where, ctx);
    applyFontObject(n, font);
}

Frame readFrame(const json& j, const std::string& where, const Context& ctx, Frame frame = {})
{
    auto sides = [&](const std::string& text) {
        frame.setAll(false);
        std::istringstream in(text);
        std::string word;
        while (in >> word) {
            if (word == "all")
                frame.setAll(true);
            else if (word == "none")
                frame.setAll(false);
            else if (word == "top")
                frame.top = true;
            else if (word == "bottom")
                frame.bottom = true;
            else if (word == "left")
                frame.left = true;
            else if (word == "right")
                frame.right = true;
            else
                fail(ctx, where, "unknown side \"" + word + "\" (top bottom left right, all, none)");
        }
    };
    if (j.is_string()) {
        sides(j.get<std::string>());
        return frame;
    }
    if (j.is_boolean()) {
        frame.setAll(j.get<bool>());
        return frame;
    }
    Node n(j, where, ctx);
    if (n.has("sides"))
        sides(n.text("sides"));
    frame.top = n.flag("top", frame.top);
    frame.bottom = n.flag("bottom", frame.bottom);
    frame.left = n.flag("left", frame.left);
    frame.right = n.flag("right", frame.right);
    frame.width = n.length("width", frame.width);
    frame.color = n.color("color", frame.color).value_or(Color::black());
    n.finish();
    return frame;
}

Pen readPen(const json& j, const std::string& where, const Context& ctx, Pen pen = {})
{
    Node n(j, where, ctx);
    pen.width = n.length("width", pen.width);
    if (n.has("color")) {
        auto c = n.color("color", pen.color);
        if (!c)
            pen.style = PenStyle::None;
        else
            pen.color = *c;
    }
    pen.style = n.choice<PenStyle>("style", pen.style,
                                   {{"solid", PenStyle::Solid}, {"dash", PenStyle::Dash}, {"dot", PenStyle::Dot},
                                    {"none", PenStyle::None}});
    n.finish();
    return pen;
}

void readGeometry(Node& n, ComponentBase& c)
{
    if (const json* box = n.get("box")) {
        if (n.has("left") || n.has("top") || n.has("width") || n.has("height"))
            fail(n.context(), n.at("box"), "give either \"box\" or left/top/width/height, not both");
        if (!box->is_array() || box->size() != 4)
            fail(n.context(), n.at("box"), "expected [left, top, width, height]");
        c.box.left = n.lengthOf((*box)[0], n.at("box") + "/0");
        c.box.top = n.lengthOf((*box)[1], n.at("box") + "/1");
        c.box.width = n.lengthOf((*box)[2], n.at("box") + "/2");
        c.box.height = n.lengthOf((*box)[3], n.at("box") + "/3");
    } else {
        c.box.left = n.length("left", 0);
        c.box.top = n.length("top", 0);
        c.box.width = n.length("width", 0);
        c.box.height = n.length("height", 0);
    }
    if (c.box.width < 0 || c.box.height < 0)
        fail(n.context(), n.pointer(), "width and height are not negative");
    c.enabled = n.flag("enabled", true);
}

void readTextBox(Node& n, TextBox& t, const FontSpec& inherited)
{
    t.font = inherited;
    if (n.has("style")) {
        const json* style = n.get("style");
        applyFont(*style, n.at("style"), n.context(), t.font);
    }
    if (const json* font = n.get("font"))
        applyFont(*font, n.at("font"), n.context(), t.font);
    t.alignment = n.choice<HAlign>("align", HAlign::Left,
                                   {{"left", HAlign::Left}, {"center", HAlign::Center}, {"right", HAlign::Right}});
    t.verticalAlignment = n.choice<VAlign>(
        "valign", VAlign::Top, {{"top", VAlign::Top}, {"middle", VAlign::Middle}, {"bottom", VAlign::Bottom}});
    t.autoSize = n.flag("autoSize", false);
    t.wordWrap = n.flag("wordWrap", t.wordWrap);
    t.autoStretch = n.flag("autoStretch", t.autoStretch);
    if (const json* frame = n.get("frame"))
        t.frame = readFrame(*frame, n.at("frame"), n.context());
    t.color = n.color("color", std::nullopt);
    t.transparent = n.flag("transparent", !t.color.has_value());
}

Component readComponent(const json& j, const std::string& where, const Context& ctx, const FontSpec& inherited)
{
    Node n(j, where, ctx);
    const std::string type = n.requiredText("type");
    const std::string name = n.text("name");
    Component result;
    if (type == "label") {
        Label l;
        readTextBox(n, l, inherited);
        l.caption = n.text("caption");
        result = std::move(l);
    } else if (type == "memo") {
        Memo m;
        m.wordWrap = true;
        readTextBox(n, m, inherited);
        if (const json* lines = n.get("lines")) {
            if (!lines->is_array())
                fail(ctx, n.at("lines"), "expected a list of texts");
            for (std::size_t i = 0; i < lines->size(); ++i) {
                if (!(*lines)[i].is_string())
                    fail(ctx, n.at("lines") + "/" + std::to_string(i), "expected a text");
                m.lines.push_back((*lines)[i].get<std::string>());
            }
        }
        if (n.has("text")) {
            if (!m.lines.empty())
                fail(ctx, n.at("text"), "give either \"lines\" or \"text\"");
            m.setText(n.text("text"));
        }
        result = std::move(m);
    } else if (type == "systemField") {
        SystemField s;
        readTextBox(n, s, inherited);
        s.kind = n.choice<SystemKind>("field", SystemKind::PageNumber,
                                      {{"pageNumber", SystemKind::PageNumber},
                                       {"date", SystemKind::Date},
                                       {"time", SystemKind::Time},
                                       {"dateTime", SystemKind::DateTime}});
        s.format = n.text("format");
        s.prefix = n.text("prefix");
        result = std::move(s);
    } else if (type == "shape") {
        Shape s;
        s.kind = n.choice<ShapeKind>("shape", ShapeKind::Rectangle,
                                     {{"rectangle", ShapeKind::Rectangle},
                                      {"roundedRectangle", ShapeKind::RoundedRectangle},
                                      {"ellipse", ShapeKind::Ellipse}});
        s.brush = n.color("brush", Color::white());
        if (const json* pen = n.get("pen"))
            s.pen = readPen(*pen, n.at("pen"), ctx);
        s.growToBottom = n.flag("growToBottom", false);
        s.followStretch = n.flag("followStretch", false);
        result = std::move(s);
    } else if (type == "line") {
        Line l;
        l.direction = n.choice<LineDirection>("direction", LineDirection::Horizontal,
                                              {{"horizontal", LineDirection::Horizontal},
                                               {"vertical", LineDirection::Vertical},
                                               {"diagonalDown", LineDirection::DiagonalDown},
                                               {"diagonalUp", LineDirection::DiagonalUp}});
        if (const json* pen = n.get("pen"))
            l.pen = readPen(*pen, n.at("pen"), ctx);
        l.growToBottom = n.flag("growToBottom", false);
        if (l.growToBottom && l.direction == LineDirection::Horizontal)
            fail(ctx, n.at("growToBottom"), "a horizontal line has no height to grow");
        l.followStretch = n.flag("followStretch", false);
        if (l.followStretch && l.direction == LineDirection::Horizontal)
            fail(ctx, n.at("followStretch"), "a horizontal line has no height to grow");
        result = std::move(l);
    } else if (type == "picture") {
        Picture p;
        p.file = n.requiredText("file");
        p.stretch = n.flag("stretch", true);
        p.keepAspect = n.flag("keepAspect", false);
        p.center = n.flag("center", false);
        std::vector<std::filesystem::path> dirs{ctx.baseDir};
        if (ctx.options)
            dirs.insert(dirs.end(), ctx.options->pictureDirs.begin(), ctx.options->pictureDirs.end());
        for (const auto& dir : dirs) {
            std::error_code ec;
            const auto candidate = dir / p.file;
            if (std::filesystem::is_regular_file(candidate, ec)) {
                p.resolved = candidate;
                break;
            }
        }
        result = std::move(p);
    } else {
        fail(ctx, n.at("type"),
             "unknown component type \"" + type + "\" (label, memo, systemField, shape, line, picture)");
    }
    ComponentBase& b = base(result);
    b.name = name;
    readGeometry(n, b);
    if (auto* line = std::get_if<Line>(&result); line && b.box.height == 0 &&
                                                 line->direction == LineDirection::Horizontal)
        b.box.height = line->pen.width;
    if (auto* line = std::get_if<Line>(&result); line && b.box.width == 0 && line->direction == LineDirection::Vertical)
        b.box.width = line->pen.width;
    n.finish();
    return result;
}

std::vector<Component> readComponents(Node& n, const std::string& key, const FontSpec& inherited)
{
    std::vector<Component> out;
    const json* list = n.get(key);
    if (!list)
        return out;
    if (!list->is_array())
        fail(n.context(), n.at(key), "expected a list of components");
    for (std::size_t i = 0; i < list->size(); ++i)
        out.push_back(readComponent((*list)[i], n.at(key) + "/" + std::to_string(i), n.context(), inherited));
    return out;
}

SizeMm paperNamed(const std::string& name, const Context& ctx, const std::string& where)
{
    if (name == "A4")
        return {210, 297};
    if (name == "A3")
        return {297, 420};
    if (name == "A5")
        return {148, 210};
    if (name == "B5")
        return {182, 257};
    if (name == "B4")
        return {257, 364};
    if (name == "Letter")
        return {215.9, 279.4};
    fail(ctx, where, "unknown paper \"" + name + "\" (A4, A3, A5, B4, B5, Letter, or {width, height})");
}

PageSetup readPage(Node& n)
{
    PageSetup page;
    if (const json* size = n.get("size")) {
        if (size->is_string()) {
            page.paper = paperNamed(size->get<std::string>(), n.context(), n.at("size"));
        } else {
            Node s(*size, n.at("size"), n.context());
            page.paper.width = s.length("width", 0);
            page.paper.height = s.length("height", 0);
            s.finish();
            if (page.paper.width <= 0 || page.paper.height <= 0)
                fail(n.context(), n.at("size"), "paper width and height are above 0");
        }
    }
    page.orientation = n.choice<Orientation>(
        "orientation", Orientation::Portrait, {{"portrait", Orientation::Portrait}, {"landscape", Orientation::Landscape}});
    if (const json* m = n.get("margins")) {
        if (m->is_number() || m->is_string()) {
            const double all = n.lengthOf(*m, n.at("margins"));
            page.margins = {all, all, all, all};
        } else {
            Node mn(*m, n.at("margins"), n.context());
            page.margins.top = mn.length("top", page.margins.top);
            page.margins.bottom = mn.length("bottom", page.margins.bottom);
            page.margins.left = mn.length("left", page.margins.left);
            page.margins.right = mn.length("right", page.margins.right);
            mn.finish();
        }
    }
    if (const json* border = n.get("border"))
        page.border = readFrame(*border, n.at("border"), n.context());
    if (const json* font = n.get("font"))
        applyFont(*font, n.at("font"), n.context(), page.font);
    page.pageHeaderOnFirstPage = n.flag("pageHeaderOnFirstPage", true);
    page.pageFooterOnLastPage = n.flag("pageFooterOnLastPage", true);
    const RectMm body = page.body();
    if (body.width <= 0 || body.height <= 0)
        fail(n.context(), n.pointer(), "the margins leave no room on the paper");
    n.finish();
    return page;
}

Band readBand(const json& j, const std::string& where, const Context& ctx, const FontSpec& pageFont)
{
    Node n(j, where, ctx);
    Band band;
    band.name = n.requiredText("name");
    const std::string kind = n.requiredText("kind");
    const auto k = bandKindFromName(kind);
    if (!k)
        fail(ctx, n.at("kind"),
             "unknown band kind \"" + kind +
                 "\" (title, pageHeader, columnHeader, detail, groupHeader, groupFooter, subDetail, summary, pageFooter)");
    band.kind = *k;
    band.height = n.length("height", 0);
    if (band.height < 0)
        fail(ctx, n.at("height"), "a band height is not negative");
    if (const json* frame = n.get("frame"))
        band.frame = readFrame(*frame, n.at("frame"), ctx);
    band.color = n.color("color", std::nullopt);
    band.enabled = n.flag("enabled", true);
    band.master = n.text("for");
    const bool group = band.kind == BandKind::GroupHeader || band.kind == BandKind::GroupFooter;
    const bool records = band.kind == BandKind::Detail || band.kind == BandKind::SubDetail;
    const bool flows = group || records || band.kind == BandKind::Summary;
    if (!band.master.empty() && !group)
        fail(ctx, n.at("for"), "only a group header or footer names a band it is \"for\"");
    band.startNewPage = n.flag("startNewPage", false);
    if (band.startNewPage && !flows)
        fail(ctx, n.at("startNewPage"), "only detail, sub-detail, group and summary bands start a new page");
    band.repeatOnNewPage = n.flag("repeatOnNewPage", false);
    if (band.repeatOnNewPage && band.kind != BandKind::GroupHeader)
        fail(ctx, n.at("repeatOnNewPage"), "only a group header repeats on a new page");
    band.keepTogether = n.flag("keepTogether", false);
    if (band.keepTogether && !flows)
        fail(ctx, n.at("keepTogether"), "only detail, sub-detail, group and summary bands keep together");
    band.printIfEmpty = n.flag("printIfEmpty", false);
    if (band.printIfEmpty && !records)
        fail(ctx, n.at("printIfEmpty"), "only a detail or sub-detail band prints when it has no records");
    FontSpec font = pageFont;
    if (const json* f = n.get("font"))
        applyFont(*f, n.at("font"), ctx, font);
    band.components = readComponents(n, "components", font);
    n.finish();
    return band;
}

void checkBands(std::vector<Band>& bands, const Context& ctx)
{
    for (BandKind single : {BandKind::Title, BandKind::PageHeader, BandKind::ColumnHeader, BandKind::Detail,
                            BandKind::Summary, BandKind::PageFooter}) {
        int count = 0;
        for (const Band& b : bands)
            count += b.kind == single;
        if (count > 1)
            fail(ctx, "/bands", std::string("more than one ") + bandKindName(single) + " band");
    }
    // A group header without "for" heads the next detail or sub-detail band in the list; a group
    // footer without it closes the one before it.
    auto isRecords = [](const Band& b) { return b.kind == BandKind::Detail || b.kind == BandKind::SubDetail; };
    for (std::size_t i = 0; i < bands.size(); ++i) {
        Band& b = bands[i];
        if (b.kind != BandKind::GroupHeader && b.kind != BandKind::GroupFooter)
            continue;
        const bool header = b.kind == BandKind::GroupHeader;
        const std::string what = header ? "group header" : "group footer";
        const std::string where = "/bands/" + std::to_string(i);
        if (b.master.empty()) {
            if (header) {
                for (std::size_t k = i + 1; k < bands.size() && b.master.empty(); ++k)
                    if (isRecords(bands[k]))
                        b.master = bands[k].name;
            } else {
                for (std::size_t k = i; k > 0 && b.master.empty(); --k)
                    if (isRecords(bands[k - 1]))
                        b.master = bands[k - 1].name;
            }
            if (b.master.empty())
                fail(ctx, where, what + " \"" + b.name + "\" " + (header ? "heads" : "closes") +
                                     " no detail or sub-detail band");
        }
        bool found = false;
        for (const Band& m : bands)
            if (m.name == b.master && isRecords(m))
                found = true;
        if (!found)
            fail(ctx, where, what + " \"" + b.name + "\" is for \"" + b.master + "\", no detail or sub-detail band");
        for (std::size_t k = 0; k < i; ++k)
            if (bands[k].kind == b.kind && bands[k].master == b.master)
                fail(ctx, where, "band \"" + b.master + "\" has two " + what + "s");
    }
}

void checkNames(const Form& form, const Context& ctx)
{
    std::set<std::string> seen;
    auto add = [&](const std::string& name, const std::string& where) {
        if (name.empty())
            return;
        if (!seen.insert(name).second)
            fail(ctx, where, "the name \"" + name + "\" is used twice");
    };
    for (std::size_t b = 0; b < form.bands.size(); ++b) {
        const std::string where = "/bands/" + std::to_string(b);
        add(form.bands[b].name, where);
        for (std::size_t c = 0; c < form.bands[b].components.size(); ++c)
            add(base(form.bands[b].components[c]).name, where + "/components/" + std::to_string(c));
    }
    for (std::size_t c = 0; c < form.furniture.size(); ++c)
        add(base(form.furniture[c]).name, "/furniture/" + std::to_string(c));
}

} // namespace

Form parseForm(std::string_view text, const std::filesystem::path& baseDir, const LoadOptions& options,
               std::string_view sourceName)
{
    Context ctx;
    ctx.source = std::string(sourceName);
    ctx.baseDir = baseDir;
    ctx.options = &options;
    json j;
    try {
        j = json::parse(text, nullptr, true, /*ignore_comments=*/true);
    } catch (const json::parse_error& e) {
        throw ReportError(ctx.source + ": not a form file: " + e.what());
    }
    Node root(j, "", ctx);
    Form form;
    form.name = root.requiredText("name");
    form.title = root.text("title", form.name);
    if (const json* styles = root.get("styles")) {
        if (!styles->is_object())
            fail(ctx, "/styles", "expected an object of named fonts");
        for (const auto& [name, value] : styles->items())
            ctx.styles[name] = value;
    }
    if (const json* page = root.get("page")) {
        Node pn(*page, "/page", ctx);
        form.page = readPage(pn);
    }
    // Styles are checked once here, against the page font, so a bad one fails even if unused.
    for (const auto& [name, value] : ctx.styles) {
        FontSpec probe = form.page.font;
        applyFont(value, "/styles/" + name, ctx, probe);
    }
    if (const json* bands = root.get("bands")) {
        if (!bands->is_array())
            fail(ctx, "/bands", "expected a list of bands");
        for (std::size_t i = 0; i < bands->size(); ++i)
            form.bands.push_back(readBand((*bands)[i], "/bands/" + std::to_string(i), ctx, form.page.font));
    }
    form.furniture = readComponents(root, "furniture", form.page.font);
    root.finish();
    checkBands(form.bands, ctx);
    checkNames(form, ctx);
    return form;
}

Form loadFormFile(const std::filesystem::path& file, const LoadOptions& options)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw ReportError("cannot read form file " + file.string());
    std::ostringstream text;
    text << in.rdbuf();
    Form form = parseForm(text.str(), file.parent_path(), options, file.string());
    form.source = file;
    return form;
}

Form loadForm(std::string_view name, const std::vector<std::filesystem::path>& searchPath, const LoadOptions& options)
{
    std::string looked;
    for (const auto& dir : searchPath) {
        const auto candidate = dir / (std::string(name) + ".json");
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec))
            return loadFormFile(candidate, options);
        looked += (looked.empty() ? "" : ", ") + dir.string();
    }
    throw ReportError("form \"" + std::string(name) + "\" not found (looked in: " +
                      (looked.empty() ? std::string("no directories") : looked) + ")");
}

} // namespace medrec::engine
