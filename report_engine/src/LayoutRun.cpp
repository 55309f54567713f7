#include "LayoutRun.h"

#include <algorithm>
#include <cstdio>

namespace medrec::report {

LayoutRun::LayoutRun(Report& report, const TextMeasurer& measurer, const RunOptions& options)
    : m_report(report), m_form(report.form()), m_options(options)
{
    if (!m_options.log)
        m_options.log = [](const std::string& message) { std::fprintf(stderr, "report: %s\n", message.c_str()); };
    if (m_options.images) {
        m_images = m_options.images;
    } else {
        m_ownImages = std::make_unique<ImageStore>(m_options.log);
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

Band* LayoutRun::bandOf(BandKind kind)
{
    for (Band& b : m_form.bands)
        if (b.kind == kind)
            return &b;
    return nullptr;
}

Band* LayoutRun::groupHeaderFor(const std::string& master)
{
    for (Band& b : m_form.bands)
        if (b.kind == BandKind::GroupHeader && b.master == master)
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
    bool first = true;
    auto one = [&] {
        if (first) {
            print(groupHeaderFor(master->name));
            first = false;
        }
        print(master);
        if (master->kind == BandKind::Detail)
            printSubDetails();
    };
    if (needData && *needData) {
        while ((*needData)(m_report))
            one();
    } else {
        one();
    }
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
    place(m_builder->build(*band, m_body.width), Fit::Flow);
}

void LayoutRun::startPage()
{
    Page page;
    page.number = int(m_document.pages.size()) + 1;
    page.paper = m_paper;
    page.orientation = m_form.page.orientation;
    page.body = m_body;
    m_document.pages.push_back(std::move(page));

    double bottom = m_body.bottom();
    if (Band* footer = bandOf(BandKind::PageFooter); footer && footer->enabled)
        bottom -= footer->height;
    m_flow.emplace(m_body.top, bottom);

    const bool first = m_document.pages.size() == 1;
    if (Band* header = bandOf(BandKind::PageHeader);
        header && header->enabled && (!first || m_form.page.pageHeaderOnFirstPage))
        place(m_builder->build(*header, m_body.width), Fit::Fixed);
    if (!first) {
        if (Band* columns = bandOf(BandKind::ColumnHeader); columns && columns->enabled)
            place(m_builder->build(*columns, m_body.width), Fit::Fixed);
    }
    m_flow->markBodyStart();
}

void LayoutRun::closePage(bool last)
{
    if (Band* footer = bandOf(BandKind::PageFooter);
        footer && footer->enabled && (!last || m_form.page.pageFooterOnLastPage)) {
        const BandContent content = m_builder->build(*footer, m_body.width);
        emit(content, 0, content.height, m_body.bottom() - content.height, false);
    }
    const BandContent furniture = m_builder->buildFurniture(m_form.furniture, m_paper);
    const RectMm paper{0, 0, m_paper.width, m_paper.height};
    for (const Item& item : furniture.items)
        emitItem(item, paper, 0, 0, true, true);
    if (m_form.page.border.any())
        for (Element& line : frameLines(m_body, m_form.page.border, true, true))
            m_document.pages.back().elements.push_back(std::move(line));
}

void LayoutRun::newPage()
{
    closePage(false);
    startPage();
}

void LayoutRun::place(const BandContent& content, Fit fit)
{
    double from = 0;
    for (;;) {
        const double rest = content.height - from;
        if (m_flow->fits(rest)) {
            emit(content, from, content.height, m_flow->cursor(), false);
            m_flow->advance(rest);
            return;
        }
        const double space = std::max(0.0, m_flow->spaceLeft());
        if (fit == Fit::Fixed) {
            if (std::find(m_cutBands.begin(), m_cutBands.end(), content.band) == m_cutBands.end()) {
                m_cutBands.push_back(content.band);
                log("band \"" + content.band + "\" does not fit on the page; it is cut at the page foot");
            }
            emit(content, from, from + space, m_flow->cursor(), true);
            m_flow->advance(space);
            return;
        }
        if (content.stretched) {
            const double cut = findCut(content.units(), from, from + space);
            if (cut > from + kEpsilonMm) {
                emit(content, from, cut, m_flow->cursor(), false);
                m_flow->advance(cut - from);
                from = cut;
                newPage();
                continue;
            }
        }
        if (!m_flow->bodyEmpty()) {
            newPage();
            continue;
        }
        // Not even an empty page holds the next piece whole: cut it at the page foot.
        if (std::find(m_cutBands.begin(), m_cutBands.end(), content.band) == m_cutBands.end()) {
            m_cutBands.push_back(content.band);
            log("band \"" + content.band + "\" is taller than a page; it is cut at the page foot");
        }
        if (space <= kEpsilonMm) {
            // The repeated headers take the whole page: nothing more can ever be placed.
            log("the page headers leave no room for band \"" + content.band + "\"; it is not printed");
            return;
        }
        emit(content, from, from + space, m_flow->cursor(), true);
        m_flow->advance(space);
        from += space;
        newPage();
    }
}

void LayoutRun::emit(const BandContent& content, double from, double to, double pageY, bool forced)
{
    const RectMm fragment{m_body.left, pageY, content.width, to - from};
    const double dy = pageY - from;
    const bool first = from <= kEpsilonMm;
    const bool last = to >= content.height - kEpsilonMm;
    for (const Item& item : content.items) {
        if (!item.container) {
            const Unit& u = item.unit;
            const bool starts = u.top >= from - kEpsilonMm && (u.top < to - kEpsilonMm || (last && u.top <= to + kEpsilonMm));
            const bool carried = forced && u.top < from - kEpsilonMm && u.bottom > from + kEpsilonMm;
            if (!starts && !carried)
                continue;
        }
        Item placed = item;
        placed.element.band = content.band;
        emitItem(placed, fragment, m_body.left, dy, first, last);
    }
}

void LayoutRun::emitItem(const Item& item, const RectMm& fragment, double dx, double dy, bool firstPiece,
                         bool lastPiece)
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

} // namespace medrec::report
