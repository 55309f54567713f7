#include "Code39.h"

#include "report_engine/ReportError.h"

#include <array>
#include <cctype>
#include <utility>

namespace medrec::engine {

namespace {

// Bar, space, bar, ... nine elements per character; '1' marks a wide one.
constexpr std::array<std::pair<char, const char*>, 44> kPatterns{{
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"}, {'4', "000110001"},
    {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"}, {'8', "100100100"}, {'9', "001100100"},
    {'A', "100001001"}, {'B', "001001001"}, {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"},
    {'F', "001011000"}, {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"}, {'O', "100010010"},
    {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"}, {'S', "001000110"}, {'T', "000010110"},
    {'U', "110000001"}, {'V', "011000001"}, {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"},
    {'Z', "011010000"}, {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'*', "010010100"},
    {'$', "010101000"}, {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"},
}};

const char* patternOf(char c)
{
    for (const auto& [ch, pattern] : kPatterns)
        if (ch == c)
            return pattern;
    return nullptr;
}

std::string_view innerText(std::string_view text)
{
    if (text.size() >= 2 && text.front() == '*' && text.back() == '*')
        return text.substr(1, text.size() - 2);
    return text;
}

} // namespace

std::string code39Unencodable(std::string_view text)
{
    std::string bad;
    const std::string_view inner = innerText(text);
    for (std::size_t i = 0; i < inner.size();) {
        const auto c = static_cast<unsigned char>(inner[i]);
        std::size_t n = 1; // a UTF-8 character is named whole
        while (c >= 0x80 && i + n < inner.size() && (static_cast<unsigned char>(inner[i + n]) & 0xC0) == 0x80)
            ++n;
        const char u = char(std::toupper(c));
        if (n > 1 || u == '*' || !patternOf(u)) {
            const std::string_view ch = inner.substr(i, n);
            if (bad.find(ch) == std::string::npos)
                bad.append(ch);
        }
        i += n;
    }
    return bad;
}

Code39 encodeCode39(std::string_view text, double narrow, double ratio)
{
    if (const std::string bad = code39Unencodable(text); !bad.empty())
        throw ReportError("\"" + std::string(text) + "\" holds \"" + bad + "\", which Code 39 cannot encode");
    const std::string_view inner = innerText(text);
    Code39 out;
    out.symbol.reserve(inner.size() + 2);
    out.symbol.push_back('*');
    for (char c : inner)
        out.symbol.push_back(char(std::toupper(static_cast<unsigned char>(c))));
    out.symbol.push_back('*');
    for (std::size_t i = 0; i < out.symbol.size(); ++i) {
        if (i > 0)
            out.bars.push_back(narrow); // the gap between characters
        for (const char* p = patternOf(out.symbol[i]); *p; ++p)
            out.bars.push_back(*p == '1' ? narrow * ratio : narrow);
    }
    for (double w : out.bars)
        out.width += w;
    return out;
}

} // namespace medrec::engine
