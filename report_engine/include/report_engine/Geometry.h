#pragma once

// Plain geometry in millimetres. Positions on a page are measured from the paper's top-left
// corner, positions inside a band from the band's top-left corner; y grows downwards.

namespace medrec::engine {

// Forms designed on screen give sizes in pixels at 96 dpi and font sizes in points.
constexpr double kMmPerInch = 25.4;
constexpr double px(double pixels) { return pixels * kMmPerInch / 96.0; }
constexpr double pt(double points) { return points * kMmPerInch / 72.0; }

// Tolerance for comparing accumulated millimetre positions (band heights add up page by page).
constexpr double kEpsilonMm = 1e-6;

struct PointMm {
    double x = 0;
    double y = 0;
    friend bool operator==(const PointMm&, const PointMm&) = default;
};

struct SizeMm {
    double width = 0;
    double height = 0;
    friend bool operator==(const SizeMm&, const SizeMm&) = default;
};

struct RectMm {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool isEmpty() const { return width <= kEpsilonMm && height <= kEpsilonMm; }
    RectMm translated(double dx, double dy) const { return {left + dx, top + dy, width, height}; }
    // Empty (zero-sized) when the two do not overlap; edges that touch count as overlap.
    RectMm intersected(const RectMm& other) const;
    bool overlaps(const RectMm& other) const;
    bool contains(const RectMm& other, double tolerance = kEpsilonMm) const;
    friend bool operator==(const RectMm&, const RectMm&) = default;
};

} // namespace medrec::engine
