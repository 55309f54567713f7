// Field buffers through the fml.h calls and the codec, on real bytes.

#include "atmi.h"
#include "client/FieldTables.h"
#include "codec/FieldBuffer.h"
#include "codec/FieldTable.h"
#include "fml.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace medrec::tp;

namespace {

class FieldBufferTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        std::string why;
        auto table = FieldTable::load(MEDREC_TEST_FIELD_TABLE, &why);
        ASSERT_TRUE(table) << why;
        client::installFieldTable(std::make_shared<const FieldTable>(std::move(*table)));
    }

    static FLDID id(const char *name) { return Fldid(const_cast<char *>(name)); }
    static FBFR *alloc(const char *type, long size)
    {
        return reinterpret_cast<FBFR *>(tpalloc(const_cast<char *>(type), nullptr, size));
    }
    // The fields' bytes (the header's lookup hint is left out: reads may move it).
    static std::string bytesOf(FBFR *b) { return std::string(fb::entries(b)); }
    static int chgText(FBFR *b, const char *field, int oc, const std::string &v)
    {
        return Fchg(b, id(field), oc, const_cast<char *>(v.data()), static_cast<FLDLEN>(v.size()));
    }
};

TEST_F(FieldBufferTest, TableKnowsEveryNameTheClientUsesWithItsType)
{
    struct Case
    {
        const char *name;
        int type;
    } cases[] = {{"S_STRING1", FB_STRING}, {"S_STRING200", FB_STRING}, {"S_CODE50", FB_STRING},
                 {"S_NAME50", FB_STRING},  {"S_TYPE10", FB_STRING},    {"S_DATE30", FB_STRING},
                 {"S_NUMVAL50", FB_STRING}, {"S_NO20", FB_STRING},     {"S_IDNUM20", FB_STRING},
                 {"S_DESC20", FB_STRING},  {"S_CONTENTS20", FB_STRING}, {"S_TEXT20", FB_STRING},
                 {"S_PATNO", FB_STRING},   {"S_ADMDATE", FB_STRING},   {"S_ORDDATE", FB_STRING},
                 {"S_MEDDEPT", FB_STRING}, {"L_CNT1", FB_LONG},        {"L_CNT10", FB_LONG},
                 {"L_SEQNO10", FB_LONG},   {"LOG_USERNAME", FB_STRING}, {"LOG_CLTNAME", FB_STRING},
                 {"LOG_FORMNAME", FB_STRING}, {"STATLIN", FB_STRING},  {"D_VALUE1", FB_DOUBLE},
                 {"F_VALUE1", FB_FLOAT},   {"H_VALUE1", FB_SHORT},     {"C_VALUE1", FB_CHAR},
                 {"B_VALUE1", FB_CARRAY}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FLDID f = id(c.name);
        ASSERT_NE(f, BADFLDID);
        EXPECT_EQ(Fldtype(f), c.type);
        EXPECT_STREQ(Fname(f), c.name);
    }
    EXPECT_EQ(id("S_STRING201"), BADFLDID);
    EXPECT_EQ(getFerror(), FBADNAME);
    EXPECT_EQ(id("L_CNT11"), BADFLDID);
}

TEST_F(FieldBufferTest, EveryTypeRoundTripsInBothFlavours)
{
    for (const char *flavour : {"FML", "FML32"}) {
        SCOPED_TRACE(flavour);
        FBFR *b = alloc(flavour, 4096);
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(Finit(b, static_cast<FLDLEN>(Fsizeof(b))), 1);
        std::int32_t l = -5;
        double d = 2.5;
        float f = 0.25f;
        short s = -12;
        char c = 'Y';
        const char carray[] = {'a', '\0', 'b'};
        ASSERT_EQ(chgText(b, "S_STRING1", 0, "\xC8\xAF\xC0\xDA"), 1); // 환자 in CP949
        ASSERT_EQ(Fchg(b, id("L_CNT1"), 0, reinterpret_cast<char *>(&l), 0), 1);
        ASSERT_EQ(Fchg(b, id("D_VALUE1"), 0, reinterpret_cast<char *>(&d), 0), 1);
        ASSERT_EQ(Fchg(b, id("F_VALUE1"), 0, reinterpret_cast<char *>(&f), 0), 1);
        ASSERT_EQ(Fchg(b, id("H_VALUE1"), 0, reinterpret_cast<char *>(&s), 0), 1);
        ASSERT_EQ(Fchg(b, id("C_VALUE1"), 0, &c, 0), 1);
        ASSERT_EQ(Fchg(b, id("B_VALUE1"), 0, const_cast<char *>(carray), 3), 1);

        EXPECT_STREQ(Fvals(b, id("S_STRING1"), 0), "\xC8\xAF\xC0\xDA");
        EXPECT_EQ(Fvall(b, id("L_CNT1"), 0), -5);
        EXPECT_STREQ(Fvals(b, id("L_CNT1"), 0), "-5");
        EXPECT_STREQ(Fvals(b, id("D_VALUE1"), 0), "2.5");
        EXPECT_STREQ(Fvals(b, id("F_VALUE1"), 0), "0.25");
        EXPECT_EQ(Fvall(b, id("H_VALUE1"), 0), -12);
        EXPECT_STREQ(Fvals(b, id("C_VALUE1"), 0), "Y");

        double dOut = 0;
        FLDLEN len = sizeof dOut;
        ASSERT_EQ(Fget(b, id("D_VALUE1"), 0, reinterpret_cast<char *>(&dOut), &len), 1);
        EXPECT_EQ(dOut, 2.5);
        EXPECT_EQ(len, sizeof dOut);
        char raw[8] = {};
        len = sizeof raw;
        ASSERT_EQ(Fget(b, id("B_VALUE1"), 0, raw, &len), 1);
        EXPECT_EQ(len, 3u);
        EXPECT_EQ(std::string(raw, 3), std::string(carray, 3));

        // Absent occurrences: "" / 0 with FNOTPRES.
        EXPECT_STREQ(Fvals(b, id("S_STRING1"), 1), "");
        EXPECT_EQ(getFerror(), FNOTPRES);
        EXPECT_EQ(Fvall(b, id("L_CNT2"), 0), 0);
        EXPECT_EQ(getFerror(), FNOTPRES);
        tpfree(reinterpret_cast<char *>(b));
    }
}

TEST_F(FieldBufferTest, WireBytesAreTheDocumentedLayout)
{
    FBFR *b = alloc("FML", 256);
    ASSERT_EQ(chgText(b, "S_PATNO", 0, "AB"), 1);
    std::int32_t n = 258;
    ASSERT_EQ(Fchg(b, id("L_CNT1"), 0, reinterpret_cast<char *>(&n), 0), 1);
    // S_PATNO: string (7) number 2201 -> 0x0E000899; L_CNT1: long (4) number 3001 -> 0x08000BB9.
    const std::string expected("\x99\x08\x00\x0E\x03\x00\x00\x00" "AB\0"
                               "\xB9\x0B\x00\x08\x04\x00\x00\x00" "\x02\x01\x00\x00",
                               23);
    EXPECT_EQ(std::string(fb::entries(b)), expected);
    EXPECT_EQ(Fused(b), static_cast<long>(fb::kHeaderSize + expected.size()));
    tpfree(reinterpret_cast<char *>(b));
}

TEST_F(FieldBufferTest, ChangeAtHigherOccurrenceAddsEmptyOnesBelow)
{
    FBFR *b = alloc("FML32", 2048);
    ASSERT_EQ(chgText(b, "S_STRING2", 3, "row3"), 1);
    EXPECT_EQ(Foccur(b, id("S_STRING2")), 4);
    for (int oc = 0; oc < 3; ++oc)
        EXPECT_STREQ(Fvals(b, id("S_STRING2"), oc), "") << oc;
    EXPECT_STREQ(Fvals(b, id("S_STRING2"), 3), "row3");
    // Replacing an occurrence in the middle keeps the others.
    ASSERT_EQ(chgText(b, "S_STRING2", 1, "a longer value"), 1);
    ASSERT_EQ(chgText(b, "S_STRING2", 3, "x"), 1);
    EXPECT_STREQ(Fvals(b, id("S_STRING2"), 1), "a longer value");
    EXPECT_STREQ(Fvals(b, id("S_STRING2"), 3), "x");
    EXPECT_EQ(Foccur(b, id("S_STRING2")), 4);
    ASSERT_EQ(Fdel(b, id("S_STRING2"), 0), 1);
    EXPECT_EQ(Foccur(b, id("S_STRING2")), 3);
    EXPECT_STREQ(Fvals(b, id("S_STRING2"), 0), "a longer value");
    EXPECT_EQ(Fchg(b, id("S_STRING2"), -1, const_cast<char *>("v"), 0), -1);
    tpfree(reinterpret_cast<char *>(b));
}

TEST_F(FieldBufferTest, ExactLimitsOfBothFlavours)
{
    struct Case
    {
        const char *type;
        long size;
    } cases[] = {{"FML", 65532}, {"FML32", 524256}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(tpalloc(const_cast<char *>(c.type), nullptr, c.size + 1), nullptr);
        EXPECT_EQ(gettperrno(), TPEINVAL);
        FBFR *b = alloc(c.type, c.size);
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(Fsizeof(b), c.size);
        // Finit may not claim more than was allocated.
        EXPECT_EQ(Finit(b, static_cast<FLDLEN>(c.size + 1)), -1);
        EXPECT_EQ(getFerror(), FNOSPACE);
        ASSERT_EQ(Finit(b, static_cast<FLDLEN>(Fsizeof(b))), 1);

        // One string that fills the buffer to the last byte: header, entry header, zero.
        std::size_t fits = static_cast<std::size_t>(c.size) - fb::kHeaderSize - fb::kEntryHeaderSize - 1;
        std::string value(fits + 1, 'x');
        std::string before = bytesOf(b);
        EXPECT_EQ(chgText(b, "S_STRING1", 0, value), -1);
        EXPECT_EQ(getFerror(), FNOSPACE);
        EXPECT_TRUE(bytesOf(b) == before);
        value.pop_back();
        ASSERT_EQ(chgText(b, "S_STRING1", 0, value), 1);
        EXPECT_EQ(Fused(b), Fsizeof(b));

        // Full: neither a new field, nor growing the value, nor a gap-filling occurrence fit.
        before = bytesOf(b);
        EXPECT_EQ(chgText(b, "S_STRING2", 0, ""), -1);
        EXPECT_EQ(getFerror(), FNOSPACE);
        EXPECT_EQ(chgText(b, "S_STRING1", 0, value + "y"), -1);
        EXPECT_EQ(getFerror(), FNOSPACE);
        EXPECT_EQ(chgText(b, "S_STRING1", 5, ""), -1);
        EXPECT_TRUE(bytesOf(b) == before);
        // Shrinking still works and frees room.
        ASSERT_EQ(chgText(b, "S_STRING1", 0, "short"), 1);
        ASSERT_EQ(chgText(b, "S_STRING2", 0, "more"), 1);
        tpfree(reinterpret_cast<char *>(b));
    }
}

TEST_F(FieldBufferTest, AChangeOneByteShortLeavesTheWholeBufferAsItWas)
{
    // A buffer with room for exactly one byte less than each change needs; the failed change
    // may not touch a single byte of it, header and lookup hint included.
    struct Case
    {
        const char *name;
        int occurrence; // of S_STRING1; 0 grows the value in place, 2 adds a gap and a value
    } cases[] = {{"grow an occurrence in place", 0}, {"add occurrences past the last", 2}};
    for (const char *flavour : {"FML", "FML32"}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(flavour) + ": " + c.name);
            constexpr long kSize = 256;
            FBFR *b = alloc(flavour, kSize);
            ASSERT_NE(b, nullptr);
            ASSERT_EQ(Finit(b, static_cast<FLDLEN>(kSize)), 1);
            ASSERT_EQ(chgText(b, "S_STRING2", 0, "other"), 1);
            ASSERT_EQ(chgText(b, "S_STRING1", 0, "ab"), 1);
            ASSERT_STREQ(Fvals(b, id("S_STRING2"), 0), "other"); // the lookup hint now points there

            const std::size_t room = static_cast<std::size_t>(kSize - Fused(b));
            // One byte more than fits: in place, the room left plus the old "ab"; past the last,
            // the room left less a gap entry and the new entry with its zero.
            const std::size_t valueBytes =
                c.occurrence == 0 ? room + 3 : room - fb::entrySize(1) - fb::entrySize(0);
            std::string value(valueBytes, 'x');
            const std::string before(reinterpret_cast<const char *>(b), kSize);
            EXPECT_EQ(chgText(b, "S_STRING1", c.occurrence, value), -1);
            EXPECT_EQ(getFerror(), FNOSPACE);
            EXPECT_TRUE(std::string(reinterpret_cast<const char *>(b), kSize) == before) << "the buffer changed";

            value.pop_back(); // one byte less fits exactly
            EXPECT_EQ(chgText(b, "S_STRING1", c.occurrence, value), 1);
            EXPECT_EQ(Fused(b), kSize);
            EXPECT_EQ(Fvals(b, id("S_STRING1"), c.occurrence), value);
            EXPECT_STREQ(Fvals(b, id("S_STRING2"), 0), "other");
            tpfree(reinterpret_cast<char *>(b));
        }
    }
}

TEST_F(FieldBufferTest, SequentialGetterWalksOccurrencesInBufferOrder)
{
    FBFR *b = alloc("FML", 4096);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(chgText(b, "S_CODE1", i, "code" + std::to_string(i)), 1);
        std::int32_t n = i * 10;
        ASSERT_EQ(Fchg(b, id("L_SEQNO1"), i, reinterpret_cast<char *>(&n), 0), 1);
    }
    int position = 0;
    std::vector<std::string> seen;
    char area[16];
    FLDLEN len = sizeof area;
    while (fbgetf(b, id("S_CODE1"), area, &len, &position) == 1) {
        seen.emplace_back(area, len - 1);
        len = sizeof area;
    }
    EXPECT_EQ(getFerror(), FNOTPRES);
    EXPECT_EQ(seen, (std::vector<std::string>{"code0", "code1", "code2"}));

    position = 0;
    std::vector<std::int32_t> numbers;
    std::int32_t n;
    len = sizeof n;
    while (fbgetf(b, id("L_SEQNO1"), reinterpret_cast<char *>(&n), &len, &position) == 1)
        numbers.push_back(n);
    EXPECT_EQ(numbers, (std::vector<std::int32_t>{0, 10, 20}));

    // Too small an area: FNOSPACE, and the cursor stays to read the same one again.
    position = 0;
    char tiny[3];
    len = sizeof tiny;
    EXPECT_EQ(fbgetf(b, id("S_CODE1"), tiny, &len, &position), -1);
    EXPECT_EQ(getFerror(), FNOSPACE);
    len = sizeof area;
    ASSERT_EQ(fbgetf(b, id("S_CODE1"), area, &len, &position), 1);
    EXPECT_STREQ(area, "code0");
    // A cursor past the end or in the middle of nowhere never reads outside the buffer.
    position = 1 << 30;
    EXPECT_EQ(fbgetf(b, id("S_CODE1"), area, &len, &position), -1);
    tpfree(reinterpret_cast<char *>(b));
}

TEST_F(FieldBufferTest, ForeignOrUninitialisedMemoryIsRefused)
{
    char junk[64] = {};
    auto *b = reinterpret_cast<FBFR *>(junk);
    EXPECT_EQ(Foccur(b, id("S_STRING1")), -1);
    EXPECT_EQ(getFerror(), FNOTFLD);
    EXPECT_EQ(chgText(b, "S_STRING1", 0, "x"), -1);
    EXPECT_EQ(Fsizeof(nullptr), -1);
    // Memory of one's own can be made a field buffer, within its size.
    ASSERT_EQ(Finit(b, sizeof junk), 1);
    EXPECT_EQ(chgText(b, "S_STRING1", 0, std::string(40, 'a')), -1);
    EXPECT_EQ(getFerror(), FNOSPACE);
    EXPECT_EQ(chgText(b, "S_STRING1", 0, "fits"), 1);
    EXPECT_NE(std::string(Fstrerror(FNOSPACE)).find("no space"), std::string::npos);
}

TEST_F(FieldBufferTest, ValidatorRefusesMalformedEntries)
{
    auto entry = [](FLDID id, std::uint32_t len, std::string value) {
        std::string out(8, '\0');
        std::memcpy(out.data(), &id, 4);
        std::memcpy(out.data() + 4, &len, 4);
        return out + value;
    };
    FLDID str = makeFieldId(FB_STRING, 1001), lng = makeFieldId(FB_LONG, 3001);
    struct Case
    {
        const char *what;
        std::string bytes;
        bool ok;
    } cases[] = {
        {"empty", "", true},
        {"a string", entry(str, 3, std::string("ab\0", 3)), true},
        {"truncated header", entry(str, 3, std::string("ab\0", 3)).substr(0, 5), false},
        {"length past the end", entry(str, 30, std::string("ab\0", 3)), false},
        {"huge length", entry(str, 0xFFFFFFFF, "x"), false},
        {"string without zero", entry(str, 2, "ab"), false},
        {"zero inside a string", entry(str, 4, std::string("a\0b\0", 4)), false},
        {"long of 3 bytes", entry(lng, 3, "abc"), false},
        {"field number 0", entry(makeFieldId(FB_STRING, 0), 1, std::string(1, '\0')), false},
        {"type 9", entry(makeFieldId(9, 5), 1, std::string(1, '\0')), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::string why;
        EXPECT_EQ(fb::validateEntries(c.bytes, &why), c.ok) << why;
        if (!c.ok) {
            EXPECT_FALSE(why.empty());
        }
    }
}

TEST_F(FieldBufferTest, FieldTableFileErrorsNameTheLine)
{
    struct Case
    {
        const char *text;
        const char *error; // empty: parses
    } cases[] = {
        {"# only a comment\n\nA_B 1 string\n", ""},
        {"A 1 string\nB 2\n", "line 2"},
        {"A 1 strin\n", "unknown field type"},
        {"A 0 string\n", "bad field number"},
        {"A 1 string\nA 2 long\n", "defined twice"},
        {"A 1 string\nB 1 long\n", "already used"},
        {"1A 1 string\n", "bad field name"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        std::string why;
        auto table = FieldTable::parse(c.text, &why);
        if (!*c.error) {
            EXPECT_TRUE(table) << why;
        } else {
            EXPECT_FALSE(table);
            EXPECT_NE(why.find(c.error), std::string::npos) << why;
        }
    }
}

} // namespace
