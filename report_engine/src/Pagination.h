#pragma once

#include <vector>

// The pagination maths: how much of a page is left, and where a stretched band may be cut.
// Pure; millimetres.

namespace medrec::engine {

// The vertical space of one page between the headers printed at its top and the footer
// reserved at its foot.
class PageFlow {
public:
    PageFlow(double top, double bottom) : m_cursor(top), m_bottom(bottom), m_bodyStart(top) {}

    double cursor() const { return m_cursor; }
    double bottom() const { return m_bottom; }
    double spaceLeft() const { return m_bottom - m_cursor; }
    bool fits(double height) const;
    void advance(double height) { m_cursor += height; }
    // Called once the repeated headers are placed: what follows is the page's own content.
    void markBodyStart() { m_bodyStart = m_cursor; }
    // Nothing but the repeated headers on the page yet: moving to a new page would not help.
    bool bodyEmpty() const;

private:
    double m_cursor;
    double m_bottom;
    double m_bodyStart;
};

// A piece of a band that must stay on one page: a component, or one line of a stretched text.
struct Unit {
    double top = 0;
    double bottom = 0;
};

// The lowest position in (from, limit] at which a band may be cut without cutting a unit in
// two (a unit that ends or starts at the cut is not cut). Returns `from` when there is none.
double findCut(const std::vector<Unit>& units, double from, double limit);

// The lowest position in (from, end) at which a band may be cut: the bottom of the smallest first
// piece that can stand on a page alone. `end` when there is none.
double firstCut(const std::vector<Unit>& units, double from, double end);

} // namespace medrec::engine
