// The conversion tables as this system's converter builds them, row by row, against
// digests of the tables that glibc's iconv gives (tests/golden/cp949-tables/rows.txt). The
// same file holds the Windows build's code page 949 to the same tables. A mismatch names
// the row; its count says how many characters it maps.

#include "Cp949Tables.h"
#include "GoldenFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

using medrec::text::Cp949Tables;

namespace {

struct RowDigest
{
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    unsigned mapped = 0;

    void add(unsigned index, const char *bytes, unsigned size)
    {
        if (size == 0)
            return;
        ++mapped;
        mix(index & 0xFF);
        mix(size);
        for (unsigned i = 0; i < size; ++i)
            mix(static_cast<unsigned char>(bytes[i]));
    }
    void mix(unsigned byte)
    {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
};

std::string line(const char *direction, unsigned row, const RowDigest &d)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %02X %016llX %u\n", direction, row,
                  static_cast<unsigned long long>(d.hash), d.mapped);
    return text;
}

// "encode HH digest count" for each block of 256 code points U+HH00-U+HHFF, then "decode LL
// digest count" for each lead byte LL.
std::string tableDigests(const Cp949Tables &t)
{
    std::string out;
    for (unsigned row = 0; row < 0x100; ++row) {
        RowDigest d;
        for (unsigned low = 0; low < 0x100; ++low) {
            const auto &c = t.encoded(row << 8 | low);
            d.add(low, c.bytes, c.size);
        }
        out += line("encode", row, d);
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        RowDigest d;
        for (unsigned trail = 0; trail < 0x100; ++trail) {
            const auto &c = t.decoded(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
            d.add(trail, c.bytes, c.size);
        }
        out += line("decode", lead, d);
    }
    return out;
}

} // namespace

TEST(Cp949Tables, EveryRowMatchesTheReferenceTables)
{
    const Cp949Tables tables;
    ASSERT_EQ(tables.problem(), "");
    EXPECT_TRUE(medrec::testing::matchesGolden("cp949-tables", "rows", tableDigests(tables)));
}
