#include "report_engine/Geometry.h"

#include <algorithm>

namespace medrec::engine {

RectMm RectMm::intersected(const RectMm& other) const
{
    const double l = std::max(left, other.left);
    const double t = std::max(top, other.top);
    const double r = std::min(right(), other.right());
    const double b = std::min(bottom(), other.bottom());
    if (r < l || b < t)
        return {l, t, 0, 0};
    return {l, t, r - l, b - t};
}

bool RectMm::overlaps(const RectMm& other) const
{
    return left <= other.right() && other.left <= right() && top <= other.bottom() && other.top <= bottom();
}

bool RectMm::contains(const RectMm& other, double tolerance) const
{
    return other.left >= left - tolerance && other.top >= top - tolerance && other.right() <= right() + tolerance &&
           other.bottom() <= bottom() + tolerance;
}

} // namespace medrec::engine
