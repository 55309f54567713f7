#include "DecimalText.h"

#include "TextHelpers.h"

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

Decimal Decimal::rounded(int places) const
{
    if (places < 0)
        places = 0;
    if (places >= m_scale)
        return *this;
    const std::int64_t unit = kPowers[m_scale - places];
    std::int64_t quotient = m_units / unit;
    const std::int64_t remainder = std::llabs(m_units % unit);
    const std::int64_t half = unit / 2;
    if (remainder > half || (remainder == half && quotient % 2 != 0))
        quotient += m_units < 0 ? -1 : 1;
    return Decimal(quotient, places);
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
