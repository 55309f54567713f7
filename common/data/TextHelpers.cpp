#include "TextHelpers.h"

#include "Cp949.h"

#include <charconv>

namespace medrec::common {

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string_view TrimRightBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view TrimBlanks(std::string_view text)
{
    text = TrimRightBlanks(text);
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string Trimmed(std::string_view text) { return std::string(TrimBlanks(text)); }

std::optional<int> WholeNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string FmtPhoneNo(std::string_view text)
{
    std::string digits;
    for (char c : text)
        if (isDigit(c))
            digits.push_back(c);

    const std::size_t n = digits.size();
    if (n <= 4)
        return std::string(text);
    const std::string last4 = digits.substr(n - 4);
    if (digits.starts_with("02") && n >= 7)
        return "02-" + digits.substr(2, n - 6) + "-" + last4;
    if (n < 8)
        return digits.substr(0, n - 4) + "-" + last4;
    return digits.substr(0, 3) + "-" + digits.substr(3, n - 7) + "-" + last4;
}

std::string JoinLines(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            out.resize(TrimRightBlanks(out).size());
            out.push_back(' ');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::size_t CharCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const std::size_t n = text::utf8SequenceLength(static_cast<unsigned char>(text[i]));
        std::size_t k = 1;
        while (k < n && i + k < text.size() && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80)
            ++k;
        i += k == n ? n : 1;
    }
    return count;
}

std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement)
{
    if (search.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(search); at != std::string_view::npos; at = text.find(search, from)) {
        out.append(text.substr(from, at - from));
        out.append(replacement);
        from = at + search.size();
    }
    out.append(text.substr(from));
    return out;
}

} // namespace medrec::common
