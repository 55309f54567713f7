#include "NumberFormat.h"

#include "TextHelpers.h"

#include <charconv>
#include <cmath>

namespace medrec::common {

std::optional<double> ParseNumber(std::string_view text)
{
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    bool digit = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
            return std::nullopt; // also keeps out "inf" and "nan"
    }
    if (!digit)
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string FormatGroupedNumber(double value)
{
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, 3);
    if (ec != std::errc{})
        return {};
    std::string digits(buf, end);
    std::string fraction;
    if (const auto dot = digits.find('.'); dot != std::string::npos) {
        fraction = digits.substr(dot + 1);
        digits.resize(dot);
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
    }

    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.push_back(',');
        out.push_back(digits[i]);
    }
    if (!fraction.empty())
        out += "." + fraction;
    // No "-0" for values that round to zero.
    if (std::signbit(value) && out.find_first_not_of("0,.") != std::string::npos)
        out.insert(out.begin(), '-');
    return out;
}

std::string NumberFormatDisplay(std::string_view text)
{
    const auto value = ParseNumber(text);
    return value ? FormatGroupedNumber(*value) : std::string(text);
}

} // namespace medrec::common
