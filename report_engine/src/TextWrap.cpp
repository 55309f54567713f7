#include "TextWrap.h"

#include "report_engine/Geometry.h"

namespace medrec::engine {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Offsets at which a UTF-8 code point starts, plus the end offset. Invalid bytes count as one
// character each so nothing is ever split inside a sequence the measurer accepted.
std::vector<std::size_t> boundaries(std::string_view s)
{
    std::vector<std::size_t> out;
    out.reserve(s.size() + 1);
    std::size_t i = 0;
    while (i < s.size()) {
        out.push_back(i);
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = 1;
        if (c >= 0xF0)
            len = 4;
        else if (c >= 0xE0)
            len = 3;
        else if (c >= 0xC0)
            len = 2;
        std::size_t j = i + 1;
        while (j < s.size() && j < i + len && (static_cast<unsigned char>(s[j]) & 0xC0) == 0x80)
            ++j;
        i = j;
    }
    out.push_back(s.size());
    return out;
}

std::string_view trimRight(std::string_view s)
{
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

} // namespace

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> wrapParagraph(std::string_view p, double width, const WidthOf& widthOf)
{
    std::vector<std::string> lines;
    if (p.empty()) {
        lines.emplace_back();
        return lines;
    }
    const std::vector<std::size_t> b = boundaries(p);
    // index into b of the current line start
    std::size_t s = 0;
    const std::size_t last = b.size() - 1; // index of the end offset
    while (s < last) {
        const std::size_t from = b[s];
        if (widthOf(p.substr(from)) <= width + kEpsilonMm) {
            lines.emplace_back(p.substr(from));
            break;
        }
        // Largest e (index into b) with the piece [s, e) fitting; at least one character.
        std::size_t lo = s + 1;
        std::size_t hi = last - 1; // the whole rest does not fit
        std::size_t fit = s + 1;
        while (lo <= hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (widthOf(p.substr(from, b[mid] - from)) <= width + kEpsilonMm) {
                fit = mid;
                lo = mid + 1;
            } else {
                hi = mid - 1;
            }
        }
        if (fit >= last) { // a single character wider than the line
            lines.emplace_back(p.substr(from));
            break;
        }
        std::size_t breakAt = fit; // index into b where the line ends
        std::size_t next = fit;    // index into b where the next line starts
        if (!isBlank(p[b[fit]])) {
            // Back to the last blank inside the piece, if the line before it holds something.
            for (std::size_t k = fit; k > s + 1; --k) {
                if (isBlank(p[b[k - 1]]) && !trimRight(p.substr(from, b[k - 1] - from)).empty()) {
                    breakAt = k - 1;
                    next = k - 1;
                    break;
                }
            }
        }
        std::string_view line = p.substr(from, b[breakAt] - from);
        if (isBlank(p[b[breakAt]]) || breakAt != fit)
            line = trimRight(line);
        lines.emplace_back(line);
        while (next < last && isBlank(p[b[next]]))
            ++next;
        s = next;
    }
    return lines;
}

std::vector<std::string> wrapText(std::string_view text, double width, const WidthOf& widthOf)
{
    std::vector<std::string> out;
    for (const std::string& paragraph : splitLines(text)) {
        std::vector<std::string> lines = wrapParagraph(paragraph, width, widthOf);
        out.insert(out.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    }
    return out;
}

} // namespace medrec::engine
