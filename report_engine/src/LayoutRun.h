#pragma once

#include "report_engine/Report.h"

#include "BandLayout.h"
#include "Pagination.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

// One run of a report: asks the callbacks, builds the bands and places them on pages.

namespace medrec::engine {

class LayoutRun {
public:
    LayoutRun(Report& report, const TextMeasurer& measurer, const RunOptions& options);
    Document run();

private:
    enum class Fit { Flow, Fixed }; // Fixed: repeated headers and footers, cut at the page foot

    Band* bandOf(BandKind kind);
    Band* groupBandFor(BandKind kind, const std::string& master);
    void startPage();
    void closePage(bool last);
    void newPage();
    void print(Band* band);
    // A flow band: on a new page first when it asks for one.
    void printBuilt(const Band& band, const BandContent& content);
    void printRecords(Band* master, const Report::NeedData* needData);
    // The group header, on the next page when its first record would not follow it here.
    void printGroupHeader(Band* header, const BandContent& firstRecord);
    void printSubDetails();
    void place(const BandContent& content, Fit fit);
    // The gap above the part of the band from `from` on, at the top of a fresh page
    // (BandContent::continuationInset), unless the page could not hold a line below it.
    double continuationInset(const BandContent& content, double from) const;
    void cutAtPageFoot(const BandContent& content, double from, double space, double inset);
    // Puts the part [from, to) of the band on the page with its top at pageY, its content
    // `inset` lower (the band's own background and frame fill the gap).
    void emit(const BandContent& content, double from, double to, double pageY, bool forced,
              double inset = 0);
    // reportCuts: text the clip cuts is a warning (not for a band already reported as cut).
    void emitItem(const Item& item, const RectMm& fragment, double dx, double dy, bool firstPiece, bool lastPiece,
                  bool reportCuts);
    void reportLosses(const std::vector<Loss>& losses, const std::string& band);
    void reportTextCut(const Item& item, const Element& e, const RectMm& clip, double dx);
    // Records a warning in the document and writes it to the log, once per kind, place and text.
    void warn(WarningKind kind, const std::string& band, const std::string& component, const std::string& text,
              const std::string& what);
    void log(const std::string& message);

    Report& m_report;
    Form& m_form;
    RunOptions m_options;
    std::unique_ptr<ImageStore> m_ownImages;
    ImageStore* m_images = nullptr;
    std::unique_ptr<BandBuilder> m_builder;
    RectMm m_body;
    SizeMm m_paper;
    Document m_document;
    std::optional<PageFlow> m_flow;
    bool m_pageHasRecords = false;        // a band other than the headers and the title is on this page
    double m_footerReserve = 0;           // the page footer's height as this page reserved it
    std::vector<const Band*> m_openGroups; // group headers to repeat on each new page, outermost first
    struct Pending {
        std::size_t page;
        std::size_t element;
        std::string pageTemplate;
        RectMm box;
        bool autoSize;
    };
    std::vector<Pending> m_pendingPageCount;
    std::vector<std::string> m_pictureErrors; // what the run's own picture store could not read, and why
    std::set<std::tuple<WarningKind, std::string, std::string, std::string>> m_warned;
};

} // namespace medrec::engine
