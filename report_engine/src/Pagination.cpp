#include "Pagination.h"

#include "report_engine/Geometry.h"

namespace medrec::report {

bool PageFlow::fits(double height) const
{
    return height <= spaceLeft() + kEpsilonMm;
}

bool PageFlow::bodyEmpty() const
{
    return m_cursor <= m_bodyStart + kEpsilonMm;
}

double findCut(const std::vector<Unit>& units, double from, double limit)
{
    double cut = limit;
    // Each pass moves the cut up to the top of a unit it would split; the cut only ever rises,
    // so this ends after at most one pass per unit.
    bool moved = true;
    while (moved && cut > from + kEpsilonMm) {
        moved = false;
        for (const Unit& u : units) {
            if (u.top < cut - kEpsilonMm && u.bottom > cut + kEpsilonMm) {
                cut = u.top;
                moved = true;
            }
        }
    }
    return cut > from + kEpsilonMm ? cut : from;
}

} // namespace medrec::report
