#include "report_engine/Report.h"

#include "report_engine/ReportError.h"

#include "BandLayout.h"
#include "LayoutRun.h"
#include "TextWrap.h"

#include <utility>

namespace medrec::engine {

Report::Report(Form form, const Hook& onCreate) : m_form(std::move(form))
{
    for (std::size_t b = 0; b < m_form.bands.size(); ++b) {
        Band& band = m_form.bands[b];
        m_names[band.name] = Ref{int(b), int(b), true};
        for (std::size_t c = 0; c < band.components.size(); ++c)
            if (const std::string& name = base(band.components[c]).name; !name.empty())
                m_names[name] = Ref{int(b), int(c), false};
    }
    for (std::size_t c = 0; c < m_form.furniture.size(); ++c)
        if (const std::string& name = base(m_form.furniture[c]).name; !name.empty())
            m_names[name] = Ref{-1, int(c), false};
    if (onCreate)
        onCreate(*this);
}

Component& Report::lookup(std::string_view name)
{
    return const_cast<Component&>(std::as_const(*this).lookup(name));
}

const Component& Report::lookup(std::string_view name) const
{
    auto it = m_names.find(name);
    if (it == m_names.end() || it->second.isBand)
        throw ReportError("form \"" + m_form.name + "\" has no component named \"" + std::string(name) + "\"");
    const Ref& r = it->second;
    return r.band < 0 ? m_form.furniture[std::size_t(r.index)]
                      : m_form.bands[std::size_t(r.band)].components[std::size_t(r.index)];
}

template <class T>
T& Report::typed(std::string_view name, const char* wanted)
{
    Component& c = lookup(name);
    if (T* t = std::get_if<T>(&c))
        return *t;
    throw ReportError("component \"" + std::string(name) + "\" of form \"" + m_form.name + "\" is a " + typeName(c) +
                      ", not a " + wanted);
}

Label& Report::label(std::string_view name)
{
    return typed<Label>(name, "label");
}

Memo& Report::memo(std::string_view name)
{
    return typed<Memo>(name, "memo");
}

Shape& Report::shape(std::string_view name)
{
    return typed<Shape>(name, "shape");
}

Line& Report::line(std::string_view name)
{
    return typed<Line>(name, "line");
}

Picture& Report::picture(std::string_view name)
{
    return typed<Picture>(name, "picture");
}

SystemField& Report::systemField(std::string_view name)
{
    return typed<SystemField>(name, "systemField");
}

ComponentBase& Report::component(std::string_view name)
{
    return base(lookup(name));
}

Component& Report::get(std::string_view name)
{
    return lookup(name);
}

Band& Report::band(std::string_view name)
{
    auto it = m_names.find(name);
    if (it == m_names.end() || !it->second.isBand)
        throw ReportError("form \"" + m_form.name + "\" has no band named \"" + std::string(name) + "\"");
    return m_form.bands[std::size_t(it->second.index)];
}

bool Report::has(std::string_view name) const
{
    return m_names.find(name) != m_names.end();
}

Band& Report::detail()
{
    for (Band& b : m_form.bands)
        if (b.kind == BandKind::Detail)
            return b;
    throw ReportError("form \"" + m_form.name + "\" has no detail band");
}

void Report::forEachComponent(const std::function<void(Component&)>& visit)
{
    for (Band& b : m_form.bands)
        for (Component& c : b.components)
            visit(c);
    for (Component& c : m_form.furniture)
        visit(c);
}

void Report::setNeedData(std::string_view subDetailBand, NeedData needData)
{
    const Band& b = band(subDetailBand);
    if (b.kind != BandKind::SubDetail)
        throw ReportError("band \"" + b.name + "\" of form \"" + m_form.name +
                          "\" is not a sub-detail band; the detail band's callback is set without a name");
    m_subDetailNeedData[b.name] = std::move(needData);
}

const Report::NeedData* Report::subDetailNeedData(const std::string& band) const
{
    auto it = m_subDetailNeedData.find(band);
    return it == m_subDetailNeedData.end() ? nullptr : &it->second;
}

std::vector<std::string> Report::wrapLines(std::string_view name, std::string_view text,
                                           const TextMeasurer& measurer) const
{
    const Component& c = lookup(name);
    const TextBox* box = std::get_if<Label>(&c);
    if (!box)
        box = std::get_if<Memo>(&c);
    if (!box)
        throw ReportError("component \"" + std::string(name) + "\" of form \"" + m_form.name + "\" is a " +
                          typeName(c) + ", not a label or memo");
    std::vector<std::string> paragraphs = splitLines(text);
    if (box->autoSize || box->box.width <= 0)
        return paragraphs;
    return wrapToWidth(paragraphs, box->font, box->box.width, measurer);
}

std::vector<std::string> Report::wrapLines(std::string_view name, std::string_view text) const
{
    if (!m_runMeasurer)
        throw ReportError("form \"" + m_form.name + "\": lines of \"" + std::string(name) +
                          "\" asked for outside a run; pass a measurer");
    return wrapLines(name, text, *m_runMeasurer);
}

Document Report::run(const TextMeasurer& measurer, const RunOptions& options)
{
    // The run's measurer is reachable from the callbacks, and only while they can be called.
    struct Running {
        const TextMeasurer*& slot;
        ~Running() { slot = nullptr; }
    } running{m_runMeasurer};
    m_runMeasurer = &measurer;
    if (m_beforePrint)
        m_beforePrint(*this);
    LayoutRun layout(*this, measurer, options);
    return layout.run();
}

Document runAll(const std::vector<Report*>& reports, const TextMeasurer& measurer, const RunOptions& options)
{
    Document document;
    RunOptions partOptions = options;
    for (Report* report : reports) {
        // Pages count on across the reports: they print as one document.
        if (options.pageLaidOut) {
            const int before = int(document.pages.size());
            partOptions.pageLaidOut = [&options, before](int pages) { options.pageLaidOut(before + pages); };
        }
        document.append(report->run(measurer, partOptions));
    }
    return document;
}

const char* warningKindName(WarningKind kind)
{
    switch (kind) {
    case WarningKind::TextCut:
        return "textCut";
    case WarningKind::LinesHidden:
        return "linesHidden";
    case WarningKind::ClippedByBand:
        return "clippedByBand";
    case WarningKind::BandCut:
        return "bandCut";
    case WarningKind::BandDropped:
        return "bandDropped";
    case WarningKind::PictureUnreadable:
        return "pictureUnreadable";
    case WarningKind::Overprinted:
        return "overprinted";
    }
    return "unknown";
}

void Document::append(Document&& other)
{
    if (title.empty())
        title = other.title;
    pages.insert(pages.end(), std::make_move_iterator(other.pages.begin()), std::make_move_iterator(other.pages.end()));
    warnings.insert(warnings.end(), std::make_move_iterator(other.warnings.begin()),
                    std::make_move_iterator(other.warnings.end()));
}

} // namespace medrec::engine
