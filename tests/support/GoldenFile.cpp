#include "GoldenFile.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace medrec::testing {

namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool updating()
{
    const char* v = std::getenv("MEDREC_UPDATE_GOLDEN");
    return v && std::string(v) == "1";
}

} // namespace

std::filesystem::path goldenDirectory()
{
    return MEDREC_GOLDEN_DIR;
}

std::filesystem::path goldenPath(const std::string& kind, const std::string& caseName)
{
    return goldenDirectory() / kind / (caseName + ".txt");
}

std::string diffExcerpt(const std::string& expected, const std::string& actual, std::size_t maxLines)
{
    if (expected == actual)
        return {};
    const std::vector<std::string> a = linesOf(expected);
    const std::vector<std::string> b = linesOf(actual);
    std::size_t first = 0;
    while (first < a.size() && first < b.size() && a[first] == b[first])
        ++first;
    // Skip the common tail too, so the excerpt is the changed block only where it is short.
    std::size_t endA = a.size();
    std::size_t endB = b.size();
    while (endA > first && endB > first && a[endA - 1] == b[endB - 1]) {
        --endA;
        --endB;
    }
    constexpr std::size_t kContext = 3;
    const std::size_t from = first > kContext ? first - kContext : 0;
    const std::size_t shownA = std::min(endA - first, maxLines);
    const std::size_t shownB = std::min(endB - first, maxLines);
    std::ostringstream out;
    out << "@@ -" << from + 1 << "," << (first - from) + shownA << " +" << from + 1 << "," << (first - from) + shownB
        << " @@ (golden " << a.size() << " lines, actual " << b.size() << " lines)\n";
    for (std::size_t i = from; i < first; ++i)
        out << " " << a[i] << "\n";
    for (std::size_t i = first; i < first + shownA; ++i)
        out << "-" << a[i] << "\n";
    if (endA - first > shownA)
        out << "-... " << endA - first - shownA << " more\n";
    for (std::size_t i = first; i < first + shownB; ++i)
        out << "+" << b[i] << "\n";
    if (endB - first > shownB)
        out << "+... " << endB - first - shownB << " more\n";
    if (a.size() == b.size() && endA == first && expected != actual)
        out << "(the texts differ only in line endings or a final line break)\n";
    return out.str();
}

::testing::AssertionResult matchesGolden(const std::string& kind, const std::string& caseName,
                                         const std::string& actual)
{
    return matchesGoldenFile(goldenPath(kind, caseName), actual);
}

::testing::AssertionResult matchesGoldenFile(const std::filesystem::path& path, const std::string& actual)
{
    if (updating()) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << actual;
        if (!out)
            return ::testing::AssertionFailure() << "cannot write golden file " << path;
        return ::testing::AssertionSuccess();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return ::testing::AssertionFailure() << "no golden file " << path
                                             << "; create it with MEDREC_UPDATE_GOLDEN=1 and review it";
    std::ostringstream golden;
    golden << in.rdbuf();
    if (golden.str() == actual)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "output differs from golden file " << path
                                         << " (regenerate after review: MEDREC_UPDATE_GOLDEN=1 ctest -R golden)\n"
                                         << diffExcerpt(golden.str(), actual);
}

} // namespace medrec::testing
