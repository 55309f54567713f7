#include "LayoutRun.h"

#include <algorithm>
#include <cstdio>

namespace medrec::engine {

LayoutRun::LayoutRun(Report& report, const TextMeasurer& measurer, const RunOptions& options)
    : m_report(report), m_form(report.form()), m_options(options)
{
    if (!m_options.log)
        m_options.log = [](const std::string& message) { std::fprintf(stderr, "report: %s\n", message.c_str()); };
    if (m_options.images) {
        m_images = m_options.images;
    } else {
        // Its reasons go into the picture warnings, which name the component and the band.
        m_ownImages = std::make_unique<ImageStore>([this](const std::string& m) { m_pictureErrors.push_back(m); });
        m_images = m_ownImages.get();
    }
    m_builder = std::make_unique<BandBuilder>(measurer, *m_images, m_options.printTime.value_or(DateTime::now()));
    m_body = m_form.page.body();
    m_paper = m_form.page.paperSize();
}

void LayoutRun::log(const std::string& message)
{
    m_options.log("form \"" + m_form.name + "\": " + message);
}

void LayoutRun::warn(WarningKind kind, const std::string& band, const std::string& component, const std::string& text,
                     const std::string& what)
{
    if (!m_warned.emplace(kind, band, component, text).second)
        return;
    LayoutWarning w;
    w.kind = kind;
    w.form = m_form.name;
    w.band = band;
    w.component = component;
    w.page = m_document.pages.empty() ? 0 : m_document.pages.back().number;
    w.text = text;
    std::string where;
    if (!component.empty())
        where = "component \"" + component + "\" ";
    where += band.empty() ? std::string("of the page furniture ") : "in band \"" + band + "\" ";
    w.message = "form \"" + m_form.name + "\": " + where + "on page " + std::to_string(w.page) + ": " + what;
    m_options.log(w.message);
    m_document.warnings.push_back(std::move(w));
}

void LayoutRun::reportLosses(const std::vector<Loss>& losses, const std::string& band)
{
    for (const Loss& loss : losses) {
        if (loss.kind == WarningKind::PictureUnreadable) {
            std::string why = "picture \"" + loss.text + "\" cannot be read; the pages print without it";
            const std::string prefix = "picture \"" + loss.text + "\" ";
            for (const std::string& m : m_pictureErrors)
                if (m.rfind(prefix, 0) == 0)
                    why = m;
            warn(loss.kind, band, loss.component, loss.text, why);
        } else {
            warn(loss.kind, band, loss.component, loss.text,
                 std::to_string(loss.count) + (loss.count == 1 ? " line" : " lines") +
                     " below its height not printed, from \"" + loss.text + "\"");
        }
    }
}

Band* LayoutRun::bandOf(BandKind kind)
{
    for (Band& b : m_form.bands)
        if (b.kind == kind)
            return &b;
    return nullptr;
}

Band* LayoutRun::groupBandFor(BandKind kind, const std::string& master)
{
    for (Band& b : m_form.bands)
        if (b.kind == kind && b.master == master)
            return &b;
    return nullptr;
}

Document LayoutRun::run()
{
    m_document.title = m_form.title;
    startPage();
    if (Band* title = bandOf(BandKind::Title); title && title->enabled)
        print(title);
    // On the first page the column header follows the title (later pages get it in startPage).
    if (m_document.pages.size() == 1) {
        if (Band* columns = bandOf(BandKind::ColumnHeader); columns && columns->enabled)
            place(m_builder->build(*columns, m_body.width), Fit::Fixed);
    }
    if (Band* detail = bandOf(BandKind::Detail))
        printRecords(detail, m_report.needData() ? &m_report.needData() : nullptr);
    else
        printSubDetails();
    print(bandOf(BandKind::Summary));
    closePage(true);

    const int pages = int(m_document.pages.size());
    for (const Pending& p : m_pendingPageCount) {
        Page& page = m_document.pages[p.page];
        Element& e = page.elements[p.element];
        e.text = formatPageNumber(p.pageTemplate, page.number, pages);
        m_builder->placeLine(e, p.box, e.align, p.autoSize);
    }
    return std::move(m_document);
}

void LayoutRun::printRecords(Band* master, const Report::NeedData* needData)
{
    Band* header = groupBandFor(BandKind::GroupHeader, master->name);
    const std::size_t openGroups = m_openGroups.size();
    bool any = false;
    auto one = [&] {
        const BandContent record = m_builder->build(*master, m_body.width);
        // A record on a new page takes its group header with it.
        if (master->enabled && master->startNewPage && m_pageHasRecords)
            newPage();
        if (!any) {
            any = true;
            printGroupHeader(header, record);
        }
        if (master->enabled) {
            m_pageHasRecords = true;
            place(record, Fit::Flow);
        }
        if (master->kind == BandKind::Detail)
            printSubDetails();
    };
    if (needData && *needData) {
        while ((*needData)(m_report))
            one();
        if (!any && master->printIfEmpty)
            one();
    } else {
        one();
    }
    if (any)
        print(groupBandFor(BandKind::GroupFooter, master->name));
    m_openGroups.resize(openGroups);
}

void LayoutRun::printGroupHeader(Band* header, const BandContent& firstRecord)
{
    if (!header || !header->enabled)
        return;
    const BandContent content = m_builder->build(*header, m_body.width);
    if (header->startNewPage && m_pageHasRecords)
        newPage();
    // Never alone at the foot of a page: the header and the first piece of its first record
    // go together (the whole record unless it has stretched and may continue).
    const double firstPiece = firstRecord.stretched && !firstRecord.keepTogether
                                  ? firstCut(firstRecord.units(), 0, firstRecord.height)
                                  : firstRecord.height;
    if (!m_flow->fits(content.height + firstPiece) && !m_flow->bodyEmpty())
        newPage();
    m_pageHasRecords = true;
    place(content, Fit::Flow);
    if (header->repeatOnNewPage)
        m_openGroups.push_back(header);
}

void LayoutRun::printSubDetails()
{
    for (Band& b : m_form.bands)
        if (b.kind == BandKind::SubDetail)
            printRecords(&b, m_report.subDetailNeedData(b.name));
}

void LayoutRun::print(Band* band)
{
    if (!band || !band->enabled)
        return;
    printBuilt(*band, m_builder->build(*band, m_body.width));
}

void LayoutRun::printBuilt(const Band& band, const BandContent& content)
{
    if (band.kind != BandKind::Title) {
        if (band.startNewPage && m_pageHasRecords)
            newPage();
        m_pageHasRecords = true;
    }
    place(content, Fit::Flow);
}

void LayoutRun::startPage()
{
    Page page;
    page.number = int(m_document.pages.size()) + 1;
    page.paper = m_paper;
    page.orientation = m_form.page.orientation;
    page.body = m_body;
    m_document.pages.push_back(std::move(page));

    // The footer's real height, stretched as it will print, is kept free for it.
    m_footerReserve = 0;
    if (Band* footer = bandOf(BandKind::PageFooter); footer && footer->enabled)
        m_footerReserve = m_builder->build(*footer, m_body.width).height;
    m_flow.emplace(m_body.top, m_body.bottom() - m_footerReserve);
    m_pageHasRecords = false;

    const bool first = m_document.pages.size() == 1;
    if (Band* header = bandOf(BandKind::PageHeader);
        header && header->enabled && (!first || m_form.page.pageHeaderOnFirstPage))
        place(m_builder->build(*header, m_body.width), Fit::Fixed);
    if (!first) {
        if (Band* columns = bandOf(BandKind::ColumnHeader); columns && columns->enabled)
            place(m_builder->build(*columns, m_body.width), Fit::Fixed);
    }
    for (const Band* group : m_openGroups)
        if (group->enabled)
            place(m_builder->build(*group, m_body.width), Fit::Fixed);
    m_flow->markBodyStart();
}

void LayoutRun::closePage(bool last)
{
    if (Band* footer = bandOf(BandKind::PageFooter);
        footer && footer->enabled && (!last || m_form.page.pageFooterOnLastPage)) {
        const BandContent content = m_builder->build(*footer, m_body.width);
        if (content.height > m_footerReserve + kEpsilonMm)
            warn(WarningKind::Overprinted, content.band, {}, {},
                 "the page footer grew after the page was filled; it prints over the foot of the body");
        emit(content, 0, content.height, m_body.bottom() - content.height, false);
    }
    const BandContent furniture = m_builder->buildFurniture(m_form.furniture, m_paper);
    reportLosses(furniture.losses, {});
    const RectMm paper{0, 0, m_paper.width, m_paper.height};
    for (const Item& item : furniture.items)
        emitItem(item, paper, 0, 0, true, true, true);
    if (m_form.page.border.any())
        for (Element& line : frameLines(m_body, m_form.page.border, true, true))
            m_document.pages.back().elements.push_back(std::move(line));
    if (m_options.pageLaidOut)
        m_options.pageLaidOut(int(m_document.pages.size()));
}

void LayoutRun::newPage()
{
    closePage(false);
    startPage();
}

void LayoutRun::place(const BandContent& content, Fit fit)
{
    double from = 0;
    double inset = 0; // above the part from `from` on, on this page
    // Puts [from, cut) on this page and goes on with the rest on a new one.
    const auto placeUpTo = [&](double cut) {
        emit(content, from, cut, m_flow->cursor(), false, inset);
        m_flow->advance(inset + cut - from);
        from = cut;
        newPage();
        inset = continuationInset(content, from);
    };
    for (;;) {
        const double rest = content.height - from;
        if (m_flow->fits(inset + rest)) {
            emit(content, from, content.height, m_flow->cursor(), false, inset);
            m_flow->advance(inset + rest);
            return;
        }
        const double space = std::max(0.0, m_flow->spaceLeft() - inset);
        if (fit == Fit::Fixed) {
            warn(WarningKind::BandCut, content.band, {}, {}, "the band does not fit on the page; it is cut at the page foot");
            emit(content, from, from + space, m_flow->cursor(), true);
            m_flow->advance(space);
            return;
        }
        // A band that has stretched continues on the next page; one that has not, or that keeps
        // together, moves there whole, unless even a page of its own cannot hold it. Either is
        // cut between components.
        const bool continues = content.stretched && !(content.keepTogether && from <= kEpsilonMm);
        if (continues || m_flow->bodyEmpty()) {
            const double cut = findCut(content.cutUnits(), from, from + space);
            if (cut > from + kEpsilonMm) {
                placeUpTo(cut);
                continue;
            }
        }
        if (!m_flow->bodyEmpty()) {
            newPage();
            continue;
        }
        if (space <= kEpsilonMm) {
            // The repeated headers take the whole page: nothing more can ever be placed.
            warn(WarningKind::BandDropped, content.band, {}, {}, "the page headers leave no room for the band; it is not printed");
            return;
        }
        // A component taller than the page: text boxes are broken between their lines.
        const double cut = findCut(content.lineUnits(), from, from + space);
        if (cut > from + kEpsilonMm) {
            placeUpTo(cut);
            continue;
        }
        cutAtPageFoot(content, from, space, inset);
        from += space;
        newPage();
        inset = 0; // the rest of a line cut through goes on at the top
    }
}

double LayoutRun::continuationInset(const BandContent& content, double from) const
{
    const double inset = content.continuationInset(from);
    const double firstLine = firstCut(content.lineUnits(), from, content.height) - from;
    return m_flow->fits(inset + firstLine) ? inset : 0;
}

void LayoutRun::cutAtPageFoot(const BandContent& content, double from, double space, double inset)
{
    // Only a single line or picture taller than the page is ever cut through.
    const double cut = from + space;
    std::string component;
    std::string text;
    for (const Item& item : content.items)
        if (!item.container && !item.splittable && item.line.top < cut - kEpsilonMm &&
            item.line.bottom > cut + kEpsilonMm) {
            component = item.element.component;
            text = item.element.text;
            break;
        }
    warn(WarningKind::BandCut, content.band, component, text,
         "a line or picture taller than a page is cut at the page foot");
    emit(content, from, cut, m_flow->cursor(), true, inset);
    m_flow->advance(inset + space);
}

void LayoutRun::emit(const BandContent& content, double from, double to, double pageY, bool forced,
                     double inset)
{
    const RectMm fragment{m_body.left, pageY, content.width, inset + to - from};
    // A component's own background and frame start where its content does.
    const RectMm boxFragment{m_body.left, pageY + inset, content.width, to - from};
    const double dy = pageY + inset - from;
    const bool first = from <= kEpsilonMm;
    const bool last = to >= content.height - kEpsilonMm;
    if (first)
        reportLosses(content.losses, content.band);
    for (const Item& item : content.items) {
        if (!item.container) {
            // Where a text's own line starts: a page break between the lines of a box taller
            // than the page puts each line on the page it starts on.
            const Unit& u = item.line;
            const bool starts = u.top >= from - kEpsilonMm && (u.top < to - kEpsilonMm || (last && u.top <= to + kEpsilonMm));
            const bool carried =
                (forced || item.splittable) && u.top < from - kEpsilonMm && u.bottom > from + kEpsilonMm;
            if (!starts && !carried)
                continue;
        }
        Item placed = item;
        placed.element.band = content.band;
        const bool boxDecoration = item.container && !item.bandDecoration;
        emitItem(placed, boxDecoration ? boxFragment : fragment, m_body.left, dy, first, last, !forced);
    }
}

void LayoutRun::emitItem(const Item& item, const RectMm& fragment, double dx, double dy, bool firstPiece,
                         bool lastPiece, bool reportCuts)
{
    Page& page = m_document.pages.back();
    Element e = item.element;
    e.rect = e.rect.translated(dx, dy);
    e.origin = {e.origin.x + dx, e.origin.y + dy};
    e.from = {e.from.x + dx, e.from.y + dy};
    e.to = {e.to.x + dx, e.to.y + dy};

    if (item.container) {
        // A stretching box's background and frame: the part of it on this piece of the band.
        const double top = std::max(e.rect.top, fragment.top);
        const double bottom = std::min(e.rect.bottom(), fragment.bottom());
        if (bottom - top <= kEpsilonMm)
            return;
        const RectMm piece{e.rect.left, top, e.rect.width, bottom - top};
        const bool hasTop = firstPiece || item.element.rect.top + dy >= fragment.top - kEpsilonMm;
        const bool hasBottom = lastPiece || item.element.rect.bottom() + dy <= fragment.bottom() + kEpsilonMm;
        if (e.fill) {
            e.rect = piece;
            page.elements.push_back(e);
        }
        for (Element& line : frameLines(piece, item.frame, hasTop, hasBottom)) {
            line.component = e.component;
            line.band = e.band;
            page.elements.push_back(std::move(line));
        }
        return;
    }

    std::optional<Pending> pageCount;
    if (!item.pageTemplate.empty()) {
        e.text = formatPageNumber(item.pageTemplate, page.number, page.number);
        const RectMm box = item.textBox.translated(dx, dy);
        m_builder->placeLine(e, box, e.align, item.autoSize);
        if (item.pageTemplate.find("{pages}") != std::string::npos)
            pageCount = Pending{m_document.pages.size() - 1, 0, item.pageTemplate, box, item.autoSize};
    }

    RectMm clip = fragment;
    if (item.hclip) {
        const double l = std::max(clip.left, item.hclip->first + dx);
        const double r = std::min(clip.right(), item.hclip->second + dx);
        clip.left = l;
        clip.width = std::max(0.0, r - l);
    }
    RectMm ink = e.rect;
    if (e.kind == ElementKind::Text)
        ink = {e.origin.x, e.rect.top, e.textWidth, e.rect.height};
    if (!clip.contains(ink)) {
        if (reportCuts && (e.kind == ElementKind::Text || e.kind == ElementKind::Barcode) && !e.text.empty())
            reportTextCut(item, e, clip, dx);
        if (!clip.overlaps(ink) || clip.width <= kEpsilonMm)
            return;
        e.clip = clip;
    }
    // Only an element that is kept gets its page count filled in later: one dropped above
    // (no width, or clipped away whole) has no index on the page.
    if (pageCount) {
        pageCount->element = page.elements.size();
        m_pendingPageCount.push_back(std::move(*pageCount));
    }
    page.elements.push_back(std::move(e));
}

void LayoutRun::reportTextCut(const Item& item, const Element& e, const RectMm& clip, double dx)
{
    // Measured advances may overshoot a box they were fitted to by rounding only.
    constexpr double kSlack = 0.01;
    const double left = e.kind == ElementKind::Text ? e.origin.x : e.rect.left;
    const double right = left + (e.kind == ElementKind::Text ? e.textWidth : e.rect.width);
    if (item.hclip && (left < item.hclip->first + dx - kSlack || right > item.hclip->second + dx + kSlack)) {
        warn(WarningKind::TextCut, e.band, e.component, e.text,
             "text wider than its box is cut at the box's edges: \"" + e.text + "\"");
        return;
    }
    // Vertically a line counts as cut when the clip takes part of its glyphs above the baseline;
    // the space below the baseline (descenders, line gap) may hang over a band's edge.
    double glyphTop = e.rect.top;
    if (e.kind == ElementKind::Text)
        glyphTop = e.origin.y - 0.7 * (e.origin.y - e.rect.top);
    const double glyphBottom = e.kind == ElementKind::Text ? e.origin.y : e.rect.bottom();
    if (left < clip.left - kSlack || right > clip.right() + kSlack || glyphTop < clip.top - kSlack ||
        glyphBottom > clip.bottom() + kSlack)
        warn(WarningKind::ClippedByBand, e.band, e.component, e.text,
             "text reaching past the edge of its band is cut there: \"" + e.text + "\"");
}

} // namespace medrec::engine
