#pragma once

#include "report_engine/Components.h"
#include "report_engine/Form.h"
#include "report_engine/Geometry.h"
#include "report_engine/RasterImage.h"
#include "report_engine/Style.h"

#include <memory>
#include <string>
#include <vector>

// Laid-out pages: what a run of a report produces and what the painters draw. Every printed
// element with its position on the paper in mm; text already broken into lines and measured, so
// painting places glyphs and never re-flows anything.

namespace medrec::engine {

enum class ElementKind { Text, Shape, Line, Image, Barcode };

struct Element {
    ElementKind kind = ElementKind::Text;
    std::string component; // the component it comes from; empty for band and page decoration
    std::string band;      // the band it printed in; empty for page furniture and the page border

    // Text: the line's box (the component's width, one line high). Shape, Image, Barcode: the box.
    // Line: the rectangle the stroke covers.
    RectMm rect;
    std::optional<RectMm> clip; // drawing is cut at this rectangle

    // Text
    std::string text; // one line, as printed (also the symbol text of a barcode)
    FontSpec font;
    HAlign align = HAlign::Left;
    PointMm origin;       // start of the baseline
    double textWidth = 0; // measured advance of the text
    bool printTime = false; // the text is the print date or time (a clock system field)

    // Shape: kind, fill (none = unfilled) and outline
    ShapeKind shape = ShapeKind::Rectangle;
    std::optional<Color> fill;
    Pen pen;

    // Line: the stroke's centre line, drawn with `pen`
    PointMm from;
    PointMm to;

    std::shared_ptr<const RasterImage> image;

    // Barcode: element widths in mm, bar first, alternating bar and space, laid from rect.left
    std::vector<double> bars;
};

struct Page {
    int number = 0; // 1-based within its report
    SizeMm paper;   // as printed (landscape: wider than tall)
    Orientation orientation = Orientation::Portrait;
    RectMm body; // the paper inside the margins
    std::vector<Element> elements; // in painting order
};

// Something the layout had to cut or leave out. Each is also written to the run's log.
enum class WarningKind {
    TextCut,          // a line wider than its fixed label (no word wrap): cut at the label's edges
    LinesHidden,      // a label or memo that does not stretch: lines below its height not printed
    ClippedByBand,    // text reaching past its band's edge: cut there
    BandCut,          // a band cut at the page foot (taller than the page, or a fixed band)
    BandDropped,      // no room at all for a band: not printed
    PictureUnreadable, // a picture file missing or damaged: printed without it
    Overprinted        // a page footer that grew after its page was filled: printed over the body's foot
};
// "textCut", "linesHidden", ...
const char* warningKindName(WarningKind kind);

struct LayoutWarning {
    WarningKind kind = WarningKind::TextCut;
    std::string form;      // the report's name
    std::string band;      // empty for page furniture
    std::string component; // empty for a whole band
    int page = 0;          // 1-based within its report: the first page it happened on
    std::string text;      // what was lost or cut: the line, or the picture file
    std::string message;   // the whole sentence, as logged
};

// One printed document: the pages of one or more report runs, in order.
struct Document {
    std::string title;
    std::vector<Page> pages;
    // What the layout cut or left out, in the order it happened; each once per run (the same
    // kind, place and text on later pages or records is not repeated).
    std::vector<LayoutWarning> warnings;

    void append(Document&& other);
};

} // namespace medrec::engine
