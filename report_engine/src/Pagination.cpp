#include "Pagination.h"

#include "report_engine/Geometry.h"

#include <algorithm>

namespace medrec::engine {

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

double firstCut(const std::vector<Unit>& units, double from, double end)
{
    std::vector<double> bottoms;
    for (const Unit& u : units)
        if (u.bottom > from + kEpsilonMm && u.bottom < end - kEpsilonMm)
            bottoms.push_back(u.bottom);
    std::sort(bottoms.begin(), bottoms.end());
    for (double b : bottoms) {
        const bool inside = std::any_of(units.begin(), units.end(), [&](const Unit& u) {
            return u.top < b - kEpsilonMm && u.bottom > b + kEpsilonMm;
        });
        if (!inside)
            return b;
    }
    return end;
}

} // namespace medrec::engine
