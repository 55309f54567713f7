// medrec-compare-prints: compares the layout records of two prints (FIRST.layout.txt,
// SECOND.layout.txt) and lists what differs, page by page and component by component, so a
// reprint can be checked against a copy released earlier.

#include "report_engine/LayoutCompare.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace {

constexpr const char* kUsage = "usage: medrec-compare-prints FIRST.layout.txt SECOND.layout.txt\n"
                               "       medrec-compare-prints --help | --version\n";

constexpr const char* kAbout =
    "\n"
    "Compares the layout records of two prints (written beside each PDF copy, or into the\n"
    "folder MEDREC_LAYOUT_RECORDS names) and lists what differs, page by page and component\n"
    "by component: texts, square fills, positions and sizes beyond 0.1 mm, faces and lines.\n"
    "The print date and time are not compared. Exit 0 when the two are equal, 1 when they\n"
    "differ, 2 on bad usage or a file that is not a layout record.\n";

std::optional<medrec::engine::LayoutRecordText> readRecord(const char* file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "medrec-compare-prints: %s: cannot read the file\n", file);
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string error;
    auto record = medrec::engine::parseLayoutRecord(text.str(), error);
    if (!record)
        std::fprintf(stderr, "medrec-compare-prints: %s: %s\n", file, error.c_str());
    return record;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        std::fputs(kAbout, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("medrec-compare-prints " MEDREC_VERSION);
        return 0;
    }
    if (argc != 3 || argv[1][0] == '-' || argv[2][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const auto first = readRecord(argv[1]);
    const auto second = readRecord(argv[2]);
    if (!first || !second)
        return 2;
    const std::vector<std::string> differences = medrec::engine::compareLayoutRecords(*first, *second);
    for (const std::string& line : differences)
        std::printf("%s\n", line.c_str());
    if (differences.empty()) {
        std::printf("equal: %zu page(s), %s\n", first->pages.size(), first->title.c_str());
        return 0;
    }
    std::printf("%zu difference(s)\n", differences.size());
    return 1;
}
