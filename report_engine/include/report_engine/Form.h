#pragma once

#include "report_engine/Components.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A form: its page setup, its bands and the components placed on the page outside every band.
// Plain values; a Report fills and runs a copy of it.

namespace medrec::engine {

enum class BandKind {
    Title,
    PageHeader,
    ColumnHeader,
    Detail,
    GroupHeader,
    GroupFooter,
    SubDetail,
    Summary,
    PageFooter
};

// "title", "pageHeader", ...; throws nothing, returns an empty optional for an unknown name.
std::optional<BandKind> bandKindFromName(std::string_view name);
const char* bandKindName(BandKind kind);

struct Band {
    std::string name;
    BandKind kind = BandKind::Detail;
    double height = 0; // design height in mm; stretching components make a printed band taller
    Frame frame;
    std::optional<Color> color; // background; none paints nothing
    bool enabled = true;        // a disabled band prints nothing and takes no space
    // A group header prints before the first record of the detail or sub-detail band it names, a
    // group footer after its last record.
    std::string master;
    bool startNewPage = false;    // begins on a fresh page unless nothing but the headers is on this one
    bool repeatOnNewPage = false; // group header: printed again on each page its group continues on
    bool printIfEmpty = false;    // detail, sub-detail: printed once when need-data has no record at all
    // A record that has stretched and does not fit the page's rest moves whole to the next page,
    // as one that has not stretched does, rather than continuing there; only one taller than a
    // page of its own is still cut.
    bool keepTogether = false;
    std::vector<Component> components;

    void setHeight(double mm) { height = mm; }
    void setColor(Color c) { color = c; }
    void clearColor() { color.reset(); }
    void setEnabled(bool on) { enabled = on; }
};

enum class Orientation { Portrait, Landscape };

struct Margins {
    double top = 10;
    double bottom = 10;
    double left = 10;
    double right = 10;
};

struct PageSetup {
    SizeMm paper{210, 297}; // portrait dimensions (A4 unless the form says otherwise)
    Orientation orientation = Orientation::Portrait;
    Margins margins;
    Frame border; // drawn along the margins on every page
    FontSpec font;
    bool pageHeaderOnFirstPage = true;
    bool pageFooterOnLastPage = true;

    SizeMm paperSize() const; // as printed, landscape swapped
    RectMm body() const;      // the paper inside the margins
};

struct Form {
    std::string name;  // the report's name, e.g. "qr_01"
    std::string title; // document name shown by print queues; defaults to the name
    PageSetup page;
    std::vector<Band> bands;         // in the file's order; printing follows the band kinds
    std::vector<Component> furniture; // printed on every page at their place on the paper
    std::filesystem::path source;    // the file it was loaded from, if any
};

} // namespace medrec::engine
