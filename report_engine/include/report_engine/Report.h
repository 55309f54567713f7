#pragma once

#include "report_engine/Form.h"
#include "report_engine/Layout.h"
#include "report_engine/SystemText.h"
#include "report_engine/TextMeasurer.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One report: a form being filled and run. The block that prints a record kind fills components
// by name (report.label("qlb_patno").setCaption(...)), sets its callbacks and runs it; the run
// lays the form out into pages that a painter prints.
//
// Printing order per page: page header (on the first page only with pageHeaderOnFirstPage),
// title (first page only), column header, the open group headers that repeat on a new page; then
// the records: each detail record, after it its sub-details (each with its group header before its
// first record and its group footer after its last); after the last record the detail's group
// footer and the summary; the page footer at the foot of the page (on the last page only with
// pageFooterOnLastPage). Page furniture and the page border print on every page.
//
// A band that does not fit moves whole to the next page; one that has stretched past its design
// height continues there, between text lines, below the repeated headers; one taller than a page
// is laid out across pages between its components (a box taller than a page between its lines).
// What had to be cut anyway is in Document::warnings.

namespace medrec::engine {

struct RunOptions {
    std::optional<DateTime> printTime;               // for the clock fields; now when empty
    std::function<void(const std::string&)> log;     // run messages (a damaged picture ...); stderr when empty
    ImageStore* images = nullptr;                    // shares decoded pictures between runs; own one when null
    std::function<void(int)> pageLaidOut;            // after each page is complete: the pages so far
};

class Report {
public:
    using Hook = std::function<void(Report&)>;
    // Asked before each record; true when one more record follows. It may change the band's
    // height, colours, components' positions, captions and styles for that record.
    using NeedData = std::function<bool(Report&)>;

    // The creation hook runs once, here, after the form is in place.
    explicit Report(Form form, const Hook& onCreate = {});

    // Components and bands by name. Throws ReportError for a name the form does not have and for
    // a component of another type. References stay valid for the report's life.
    Label& label(std::string_view name);
    Memo& memo(std::string_view name);
    Shape& shape(std::string_view name);
    Line& line(std::string_view name);
    Picture& picture(std::string_view name);
    SystemField& systemField(std::string_view name);
    ComponentBase& component(std::string_view name);
    // The component whatever its type; throws ReportError for a name the form does not have.
    Component& get(std::string_view name);
    Band& band(std::string_view name);
    bool has(std::string_view name) const;
    // The detail band; throws ReportError when the form has none.
    Band& detail();

    void forEachComponent(const std::function<void(Component&)>& visit);

    // The lines a word-wrapped label (or memo) of this name prints `text` as: broken at its line
    // breaks and at its width in its font, exactly as the layout breaks a caption with wordWrap
    // on. For blocks that split a long text into one band record per line. A label whose width
    // follows its text (autoSize), or has none, gets the text's own lines. An empty text has no
    // lines. Throws ReportError for an unknown name or a component without text.
    std::vector<std::string> wrapLines(std::string_view name, std::string_view text,
                                       const TextMeasurer& measurer) const;
    // The same with the measurer of the run in progress (from a need-data or before-print
    // callback); throws ReportError outside a run.
    std::vector<std::string> wrapLines(std::string_view name, std::string_view text) const;
    // The measurer of the run in progress; null outside run().
    const TextMeasurer* measurer() const { return m_runMeasurer; }

    void setBeforePrint(Hook hook) { m_beforePrint = std::move(hook); }
    // Without a need-data callback the detail band prints once (a form without data rows).
    void setNeedData(NeedData needData) { m_needData = std::move(needData); }
    // For a sub-detail band; without one it prints once per detail record.
    void setNeedData(std::string_view subDetailBand, NeedData needData);

    // Runs the before-print callback and lays out all pages. Callbacks run inside.
    Document run(const TextMeasurer& measurer, const RunOptions& options = {});

    const Form& form() const { return m_form; }
    Form& form() { return m_form; }

    const NeedData& needData() const { return m_needData; }
    const NeedData* subDetailNeedData(const std::string& band) const;

private:
    struct Ref {
        int band = -1; // -1: page furniture
        int index = 0; // component index, or band index for a band
        bool isBand = false;
    };
    Component& lookup(std::string_view name);
    const Component& lookup(std::string_view name) const;
    template <class T>
    T& typed(std::string_view name, const char* wanted);

    Form m_form;
    std::map<std::string, Ref, std::less<>> m_names;
    Hook m_beforePrint;
    NeedData m_needData;
    std::map<std::string, NeedData, std::less<>> m_subDetailNeedData;
    const TextMeasurer* m_runMeasurer = nullptr;
};

// Runs the reports in order into one document: one print job whose pages keep their own paper,
// orientation and per-report page numbers. Its title is the first report's. A run that throws
// ends the whole call, so no half document is ever printed.
Document runAll(const std::vector<Report*>& reports, const TextMeasurer& measurer, const RunOptions& options = {});

} // namespace medrec::engine
