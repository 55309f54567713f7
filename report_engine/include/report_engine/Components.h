#pragma once

#include "report_engine/Geometry.h"
#include "report_engine/Style.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The printable components of a form, as plain values. A component's box is in millimetres from
// the top-left corner of its band (or of the paper, for page furniture). A component that lies
// wholly outside its band does not print; one that lies partly outside is cut at the band's edge.

namespace medrec::engine {

struct ComponentBase {
    std::string name;
    RectMm box;
    bool enabled = true; // a disabled component keeps its values but prints nowhere

    void setEnabled(bool on) { enabled = on; }
    void setLeft(double mm) { box.left = mm; }
    void setTop(double mm) { box.top = mm; }
    void setWidth(double mm) { box.width = mm; }
    void setHeight(double mm) { box.height = mm; }
    void moveTo(double leftMm, double topMm)
    {
        box.left = leftMm;
        box.top = topMm;
    }
};

// What labels, memos and system fields share: a font, a placement of the text in the box,
// frame lines and a background.
struct TextBox : ComponentBase {
    FontSpec font;
    HAlign alignment = HAlign::Left;
    VAlign verticalAlignment = VAlign::Top;
    bool autoSize = false;    // width follows the text; the edge named by the alignment stays put
    bool wordWrap = false;    // break at the box width (at the last blank that fits)
    bool autoStretch = false; // height follows the wrapped text and the band grows with it
    Frame frame;
    std::optional<Color> color; // background; none paints nothing
    bool transparent = true;    // when set the background is not painted even if a colour is given

    void setFont(const FontSpec& f) { font = f; }
    void setBold(bool on) { font.bold = on; }
    void setFontSize(double points) { font.sizePt = points; }
    void setFontColor(Color c) { font.color = c; }
    void setAlignment(HAlign a) { alignment = a; }
    void setColor(Color c)
    {
        color = c;
        transparent = false;
    }
    void setTransparent(bool on) { transparent = on; }
    void setFrame(const Frame& f) { frame = f; }
};

// A caption. Line breaks in it (CR LF, LF or CR) start new lines.
struct Label : TextBox {
    std::string caption;
    void setCaption(std::string text) { caption = std::move(text); }
};

// A list of lines, each wrapped at the box width when wordWrap is set.
struct Memo : TextBox {
    std::vector<std::string> lines;
    // Indices into `lines` (before wrapping) of lines kept with the next: where a stretching
    // memo is split across pages, a marked line never ends a page; it and the blank lines after
    // it move to the next page with the first non-blank line that follows (a heading goes with
    // the start of its text). Blank: empty or only spaces and tabs. A mark with no non-blank line
    // after it, or past the end, does nothing; a marked line, its blank lines and the next line
    // that do not fit on a page together are split between lines like any other text.
    // Replacing the lines (setLines, setText, clear) drops the marks.
    std::vector<std::size_t> keepWithNext;

    void setLines(std::vector<std::string> l)
    {
        lines = std::move(l);
        keepWithNext.clear();
    }
    void setText(std::string_view text); // split at CR LF, LF or CR
    void addLine(std::string line) { lines.push_back(std::move(line)); }
    void clear()
    {
        lines.clear();
        keepWithNext.clear();
    }
    void setKeepWithNext(std::vector<std::size_t> marked) { keepWithNext = std::move(marked); }
    std::string text() const; // the lines joined with CR LF
};

enum class SystemKind { PageNumber, Date, Time, DateTime };

// Text the engine supplies while printing. The format for PageNumber may use {page} and {pages}
// (the report's page count); for the clock kinds the tokens yyyy yy MM M dd d HH H mm ss.
// The prefix is printed before the value.
struct SystemField : TextBox {
    SystemKind kind = SystemKind::PageNumber;
    std::string format; // empty: "{page}", "yyyy-MM-dd", "HH:mm:ss", "yyyy-MM-dd HH:mm:ss"
    std::string prefix;
};

enum class ShapeKind { Rectangle, RoundedRectangle, Ellipse };

// A rectangle (or ellipse) filled with its brush colour; no brush leaves the inside unpainted.
struct Shape : ComponentBase {
    ShapeKind kind = ShapeKind::Rectangle;
    std::optional<Color> brush = Color::white();
    Pen pen;
    // Its bottom edge keeps its distance from the band's bottom when stretching text makes the
    // band taller (a box around a column that grows).
    bool growToBottom = false;
    // Its bottom edge moves down as far as the stretching text above that edge pushed what lies
    // below, so a frame keeps enclosing what it enclosed as designed (a box or section that
    // ends above other text of the band).
    bool followStretch = false;

    void setBrush(Color c) { brush = c; }
    void clearBrush() { brush.reset(); }
    void setPen(const Pen& p) { pen = p; }
};

enum class LineDirection { Horizontal, Vertical, DiagonalDown, DiagonalUp };

// A rule drawn through the middle of its box: a horizontal one along the box's vertical centre
// from its left to its right edge, a vertical one along its horizontal centre.
struct Line : ComponentBase {
    LineDirection direction = LineDirection::Horizontal;
    Pen pen;
    // A vertical or diagonal rule whose lower end keeps its distance from the band's bottom when
    // stretching text makes the band taller: a column rule runs the band's whole height.
    bool growToBottom = false;
    // The same rule whose lower end moves as a followStretch shape's bottom edge does: the side
    // of a section that keeps its height with the rows it rules.
    bool followStretch = false;
    void setPen(const Pen& p) { pen = p; }
};

// A JPEG picture. The file is found when the form is loaded (beside the form file, then in the
// loader's picture directories); a picture that cannot be read is reported once per run and left
// out of the pages.
struct Picture : ComponentBase {
    std::string file;               // as the form names it
    std::filesystem::path resolved; // empty when it was not found
    bool stretch = true;            // fill the box; otherwise natural size (at its own dpi)
    bool keepAspect = false;        // with stretch: as large as fits, keeping the proportions
    bool center = false;            // without stretch or with keepAspect: centred in the box
};

using Component = std::variant<Label, Memo, Shape, Line, Picture, SystemField>;

ComponentBase& base(Component& c);
const ComponentBase& base(const Component& c);
// "label", "memo", "shape", "line", "picture", "systemField".
const char* typeName(const Component& c);

} // namespace medrec::engine
