#pragma once

#include "report_engine/Form.h"
#include "report_engine/Layout.h"
#include "report_engine/RasterImage.h"
#include "report_engine/SystemText.h"
#include "report_engine/TextMeasurer.h"

#include "Pagination.h"

#include <optional>
#include <string>
#include <vector>

// Turns one band, in the state its callbacks left it, into positioned items in band
// coordinates: text broken into lines, boxes stretched, components below a stretched one moved
// down by its growth, everything outside the band left out. Placing the items on a page is the
// layout run's job.

namespace medrec::engine {

struct Item {
    Element element;          // band coordinates
    Unit unit;                // the piece that must stay on one page with it
    // What must stay together when even a page of its own cannot hold `unit`: a text's own line;
    // for anything else the unit. Rules and shapes (splittable) may then be cut and continued.
    Unit line;
    bool splittable = false;
    bool container = false;   // background or frame of a stretching box: cut with the band
    bool bandDecoration = false; // the container is the band's own background or frame
    Frame frame;              // the container's frame lines
    std::optional<std::pair<double, double>> hclip; // text cut at these x (left, right)
    std::string pageTemplate; // page-number text still to fill in ({page}, {pages})
    RectMm textBox;           // with pageTemplate: the box to align the filled-in text in
    bool autoSize = false;    // with pageTemplate
};

// Text or a picture a component could not show at all, found while building it; the layout run
// reports it as a warning where the band lands.
struct Loss {
    WarningKind kind = WarningKind::LinesHidden;
    std::string component;
    std::string text; // the first line not printed, or the picture file
    int count = 1;    // lines not printed
};

// A text box that stretched, in band coordinates, with the gap its form gives it below what lies
// above it (or the band's top).
struct StretchedBox {
    double top = 0;
    double bottom = 0;
    double gap = 0;
};

struct BandContent {
    std::string band;
    double width = 0;
    double height = 0;
    bool stretched = false; // taller than designed: may continue on the next page
    bool keepTogether = false; // ... unless its band keeps it whole where a page can hold it
    std::vector<Item> items;
    std::vector<Loss> losses;
    std::vector<StretchedBox> stretchedBoxes;
    std::vector<Unit> blankLines; // the empty lines of stretched text, which print nothing
    std::vector<Unit> units() const;
    // Where the band may be cut: its units and its blank lines, so a cut never falls inside a
    // line and the lines that continue keep their spacing.
    std::vector<Unit> cutUnits() const;
    // The units of a band too tall for a page: text lines (blank ones too), pictures and barcodes.
    std::vector<Unit> lineUnits() const;
    // How far below the band's top the part from `cut` on starts on the next page: where the cut
    // lies in a stretched text box (or at its top), that box's own gap below the band's top, so
    // its text keeps the distance from the page header it has on the first page; otherwise 0.
    double continuationInset(double cut) const;
};

// The frame lines of a box, each inside the box with its outer edge on the box's edge; the top
// and bottom lines only where asked (a box cut by a page break has them on its end pieces).
std::vector<Element> frameLines(const RectMm& box, const Frame& frame, bool top, bool bottom);

// The lines a text box of `width` in `font` shows for these paragraphs with word wrap: each
// paragraph broken as TextWrap breaks it, measured with the measurer the pages are laid out with.
std::vector<std::string> wrapToWidth(const std::vector<std::string>& paragraphs, const FontSpec& font, double width,
                                     const TextMeasurer& measurer);

class BandBuilder {
public:
    BandBuilder(const TextMeasurer& measurer, ImageStore& images, const DateTime& printTime);

    BandContent build(const Band& band, double width) const;
    // Page furniture: paper coordinates, nothing stretches.
    BandContent buildFurniture(const std::vector<Component>& components, const SizeMm& paper) const;

    // Places one line of text in its box by the alignment: sets origin, textWidth and, with
    // autoSize, the box.
    void placeLine(Element& e, const RectMm& box, HAlign align, bool autoSize) const;

    struct Built {
        std::vector<Item> items;
        std::vector<Loss> losses;
        std::vector<Unit> blankLines;
        RectMm box;         // final box (after auto size and stretch)
        double designTop = 0;
        double designBottom = 0;
        double growth = 0;  // how much taller than designed
        bool growToBottom = false;  // a rule or shape that follows the band's growth
        bool followStretch = false; // one whose lower edge moves with the text above it
    };
private:
    std::optional<Built> buildComponent(const Component& c, bool allowStretch) const;
    // keepWithNext: indices into `lines` of a memo's lines kept with the next (Memo::keepWithNext).
    Built buildText(const TextBox& t, std::vector<std::string> lines, bool allowStretch,
                    const std::vector<std::size_t>& keepWithNext = {}) const;
    Built buildBarcode(const Label& l) const;
    Built buildSystemField(const SystemField& s) const;
    void addBoxDecoration(Built& b, const TextBox& t, bool stretched) const;
    BandContent assemble(const std::string& name, const std::vector<Component>& components, double width,
                         double height, bool allowStretch) const;

    const TextMeasurer& m_measurer;
    ImageStore& m_images;
    DateTime m_printTime;
};

} // namespace medrec::engine
