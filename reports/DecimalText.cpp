#include "DecimalText.h"

#include "TextHelpers.h"

#include <algorithm>
#include <cstdlib>

namespace medrec::reports {

namespace {

constexpr std::int64_t kPowers[] = {1,
                                    10,
                                    100,
                                    1000,
                                    10000,
                                    100000,
                                    1000000,
                                    10000000,
                                    100000000,
                                    1000000000,
                                    10000000000,
                                    100000000000,
                                    1000000000000,
                                    10000000000000,
                                    100000000000000,
                                    1000000000000000,
                                    10000000000000000,
                                    100000000000000000,
                                    1000000000000000000};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Products and scaled dividends of two 18-digit values need 128 bits.
__extension__ typedef __int128 Wide;

Wide wideAbs(Wide v) { return v < 0 ? -v : v; }

// units / unit rounded to the nearest whole number, a tie going to the even one.
Wide roundedQuotient(Wide units, Wide unit)
{
    Wide quotient = units / unit;
    const Wide remainder = wideAbs(units % unit);
    if (2 * remainder > unit || (2 * remainder == unit && quotient % 2 != 0))
        quotient += units < 0 ? -1 : 1;
    return quotient;
}

// units * 10^by, nullopt on overflow.
std::optional<std::int64_t> scaledUp(std::int64_t units, int by)
{
    std::int64_t out = 0;
    if (__builtin_mul_overflow(units, kPowers[by], &out))
        return std::nullopt;
    return out;
}

} // namespace

std::optional<Decimal> Decimal::parse(std::string_view text)
{
    text = common::TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t units = 0;
    int digits = 0, scale = 0;
    bool point = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!isDigit(c))
            return std::nullopt;
        if (point)
            ++scale;
        // Leading zeros cost nothing; every other digit counts against the exact range.
        if (units != 0 || c != '0' || point)
            ++digits;
        if (digits > kMaxDigits || scale > kMaxScale)
            return std::nullopt;
        units = units * 10 + (c - '0');
    }
    if (text.empty() || text == ".")
        return std::nullopt;
    return Decimal(negative ? -units : units, scale);
}

std::optional<Decimal> Decimal::plus(const Decimal &other) const
{
    const int scale = std::max(m_scale, other.m_scale);
    const auto a = scaledUp(m_units, scale - m_scale);
    const auto b = scaledUp(other.m_units, scale - other.m_scale);
    std::int64_t sum = 0;
    if (!a || !b || __builtin_add_overflow(*a, *b, &sum) || std::llabs(sum) >= kPowers[kMaxDigits])
        return std::nullopt;
    return Decimal(sum, scale);
}

std::optional<Decimal> Decimal::minus(const Decimal &other) const
{
    return plus(Decimal(-other.m_units, other.m_scale));
}

std::optional<Decimal> Decimal::times(const Decimal &other) const
{
    Wide units = static_cast<Wide>(m_units) * other.m_units;
    int scale = m_scale + other.m_scale;
    while (scale > kMaxScale && units % 10 == 0) {
        units /= 10;
        --scale;
    }
    if (scale > kMaxScale || wideAbs(units) >= kPowers[kMaxDigits])
        return std::nullopt;
    return Decimal(static_cast<std::int64_t>(units), scale);
}

std::optional<Decimal> Decimal::dividedBy(const Decimal &divisor, int places) const
{
    if (divisor.m_units == 0)
        return std::nullopt;
    places = std::clamp(places, 0, kMaxScale);
    // (a / 10^sa) / (b / 10^sb) * 10^places = a * 10^(sb + places) / (b * 10^sa); both fit
    // 128 bits (a < 10^18, sb + places <= 18).
    Wide numerator = static_cast<Wide>(m_units) * kPowers[divisor.m_scale] * kPowers[places];
    Wide denominator = static_cast<Wide>(divisor.m_units) * kPowers[m_scale];
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const Wide quotient = roundedQuotient(numerator, denominator);
    if (wideAbs(quotient) >= kPowers[kMaxDigits])
        return std::nullopt;
    return Decimal(static_cast<std::int64_t>(quotient), places);
}

std::strong_ordering operator<=>(const Decimal &a, const Decimal &b)
{
    const int scale = std::max(a.m_scale, b.m_scale);
    return static_cast<Wide>(a.m_units) * kPowers[scale - a.m_scale] <=>
           static_cast<Wide>(b.m_units) * kPowers[scale - b.m_scale];
}

Decimal Decimal::rounded(int places) const
{
    if (places < 0)
        places = 0;
    if (places >= m_scale)
        return *this;
    return Decimal(static_cast<std::int64_t>(roundedQuotient(m_units, kPowers[m_scale - places])), places);
}

std::string Decimal::text() const
{
    std::int64_t units = m_units;
    int scale = m_scale;
    while (scale > 0 && units % 10 == 0) {
        units /= 10;
        --scale;
    }
    std::string digits = std::to_string(std::llabs(units));
    if (scale > 0) {
        const auto fraction = static_cast<std::size_t>(scale);
        if (digits.size() <= fraction)
            digits = std::string(fraction + 1 - digits.size(), '0') + digits;
        digits = digits.substr(0, digits.size() - fraction) + "." + digits.substr(digits.size() - fraction);
    }
    return units < 0 ? "-" + digits : digits;
}

} // namespace medrec::reports
