#include "CellWrap.h"

#include "Cp949.h"

namespace medrec::common {

std::vector<std::string> WrapToWidth(std::string_view text, int cellWidth, const MeasureText &measure)
{
    std::vector<std::string> lines;
    std::string_view rest = text;
    while (!rest.empty()) {
        // Widths grow with the byte count, so search the longest fitting count.
        std::size_t lo = 0;
        std::size_t hi = text::cp949Width(rest);
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo + 1) / 2;
            if (TextFits(measure(text::cp949Left(rest, mid)), cellWidth))
                lo = mid;
            else
                hi = mid - 1;
        }
        std::string line = text::cp949Left(rest, lo);
        // Not even one character fits: take it anyway (1 or 2 bytes wide).
        if (line.empty())
            line = text::cp949Left(rest, 1);
        if (line.empty())
            line = text::cp949Left(rest, 2);
        rest.remove_prefix(line.size());
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace medrec::common
