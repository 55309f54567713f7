#pragma once

// Exact decimal arithmetic on the number texts services deliver ("1310.4", "-2", "0.25"):
// sums, differences and products hold no binary floating-point noise and are written back as
// the shortest decimal text of their value ("1500", "12.5"). Rounding, where a form rounds
// (a quotient always rounds), is half to even.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace medrec::reports {

class Decimal
{
public:
    // At most this many digits in all, and this many after the point.
    static constexpr int kMaxDigits = 18;
    static constexpr int kMaxScale = 9;

    Decimal() = default;

    // Blanks around, an optional sign, digits with an optional point ("12", "-0.5", "3.",
    // ".25"). nullopt for anything else: empty text, "1e3", "1,000", more digits than the
    // type holds exactly.
    static std::optional<Decimal> parse(std::string_view text);

    // nullopt when the result would not fit exactly.
    std::optional<Decimal> plus(const Decimal &other) const;
    std::optional<Decimal> minus(const Decimal &other) const;
    std::optional<Decimal> times(const Decimal &other) const;
    // The quotient rounded to `places` decimals (0 .. kMaxScale), a tie going to the even
    // neighbour; nullopt for a zero divisor or a quotient that does not fit.
    std::optional<Decimal> dividedBy(const Decimal &divisor, int places) const;
    // To `places` decimals (0 .. kMaxScale), a tie going to the even neighbour.
    Decimal rounded(int places) const;

    // The shortest text of the value: no trailing zeros after the point, no point for a
    // whole number, no sign for zero.
    std::string text() const;

    bool isZero() const { return m_units == 0; }

    friend bool operator==(const Decimal &a, const Decimal &b) { return a <=> b == 0; }
    friend std::strong_ordering operator<=>(const Decimal &a, const Decimal &b);

private:
    Decimal(std::int64_t units, int scale) : m_units(units), m_scale(scale) {}

    std::int64_t m_units = 0; // the value times 10^m_scale
    int m_scale = 0;
};

} // namespace medrec::reports
