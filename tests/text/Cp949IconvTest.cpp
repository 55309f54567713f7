// The text module's tables against iconv itself, asked here one input at a time: every CP949
// byte pair, every UTF-8 sequence of two or three bytes (each BMP character, overlong forms,
// surrogates) and the four-byte ones.

#include "Cp949.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <optional>
#include <string>
#include <vector>

using namespace medrec::text;

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

class Iconv
{
public:
    Iconv(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (isOpen())
            iconv_close(m_cd);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    bool isOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // What iconv makes of the whole of `in`, from a fresh state; nullopt when it refuses.
    std::optional<std::string> convert(std::string_view in)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buf[32];
        char *inPtr = const_cast<char *>(in.data());
        std::size_t inLeft = in.size();
        char *outPtr = buf;
        std::size_t outLeft = sizeof buf;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return std::nullopt;
        return std::string(buf, static_cast<std::size_t>(outPtr - buf));
    }

private:
    iconv_t m_cd;
};

std::string bytes(std::initializer_list<unsigned> values)
{
    std::string s;
    for (const unsigned v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

// Collects disagreements: a failure lists the first few rather than thousands of lines.
class Mismatches
{
public:
    template <typename T>
    void check(const char *what, const std::string &input, const T &got, const T &want)
    {
        if (got != want && m_found.size() < 12)
            m_found.push_back(std::string(what) + "(" + ::testing::PrintToString(input) +
                              ") = " + ::testing::PrintToString(got) + ", expected: " + ::testing::PrintToString(want));
    }
    const std::vector<std::string> &found() const { return m_found; }

private:
    std::vector<std::string> m_found;
};

// Checks what the text module makes of one UTF-8 sequence: its CP949 form, or '?'.
void checkUnit(const std::string &seq, const std::optional<std::string> &form, Mismatches &m)
{
    m.check("toCp949", seq, toCp949("a" + seq + "b"), "a" + form.value_or("?") + "b");
    m.check("isCp949Representable", seq, isCp949Representable(seq), form.has_value());
    m.check("cp949Width", seq, cp949Width(seq), form ? form->size() : std::size_t{1});
    m.check("cp949Slice", seq, cp949Slice("a" + seq, 1, 2), seq);
}

} // namespace

TEST(Cp949AgainstIconv, EveryDoubleBytePairDecodesAsIconvDecodesIt)
{
    Iconv decoder("UTF-8", "CP949");
    ASSERT_TRUE(decoder.isOpen());
    Mismatches m;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0; trail <= 0xFF; ++trail) {
            const std::string pair = bytes({lead, trail});
            const std::optional<std::string> want = decoder.convert(pair);
            // Not one character: the lead byte is U+FFFD, and the trail byte is read on its own
            // (a lone byte from 0x80 has no pair to be part of).
            const std::string trailAlone = trail < 0x80 ? std::string(1, static_cast<char>(trail)) : kReplacement;
            m.check("fromCp949", pair, fromCp949("a" + pair), "a" + want.value_or(kReplacement + trailAlone));
            m.check("isValidCp949", pair, isValidCp949(pair), want.has_value());
        }
    }
    EXPECT_EQ(m.found(), std::vector<std::string>{});
}

TEST(Cp949AgainstIconv, EveryTwoAndThreeByteUtf8SequenceEncodesAsIconvEncodesIt)
{
    // Every BMP character from U+0080, and with them the overlong forms and the surrogates.
    Iconv encoder("CP949", "UTF-8");
    ASSERT_TRUE(encoder.isOpen());
    Mismatches m;
    std::size_t hangul = 0;
    for (unsigned b1 = 0xC0; b1 <= 0xDF; ++b1) {
        for (unsigned b2 = 0x80; b2 <= 0xBF; ++b2) {
            const std::string seq = bytes({b1, b2});
            checkUnit(seq, encoder.convert(seq), m);
        }
    }
    for (unsigned b1 = 0xE0; b1 <= 0xEF; ++b1) {
        for (unsigned b2 = 0x80; b2 <= 0xBF; ++b2) {
            for (unsigned b3 = 0x80; b3 <= 0xBF; ++b3) {
                const std::string seq = bytes({b1, b2, b3});
                const std::optional<std::string> form = encoder.convert(seq);
                checkUnit(seq, form, m);
                const unsigned cp = (b1 & 0x0F) << 12 | (b2 & 0x3F) << 6 | (b3 & 0x3F);
                if (form && cp >= 0xAC00 && cp <= 0xD7A3)
                    ++hangul;
            }
        }
    }
    EXPECT_EQ(m.found(), std::vector<std::string>{});
    EXPECT_EQ(hangul, 11172u) << "every modern Hangul syllable has a CP949 form";
}

TEST(Cp949AgainstIconv, FourByteUtf8SequencesHaveNoCp949Form)
{
    // Characters past the BMP, overlong forms and code points past U+10FFFF (the last byte
    // sampled) all become '?'. iconv refuses them all but the tag characters U+E0000-U+E007F,
    // which it drops without a trace; here they become '?' too, so that no text is
    // shortened unseen and a text that holds one is not called representable.
    Iconv encoder("CP949", "UTF-8");
    ASSERT_TRUE(encoder.isOpen());
    Mismatches m;
    for (unsigned b1 = 0xF0; b1 <= 0xF7; ++b1) {
        for (unsigned b2 = 0x80; b2 <= 0xBF; ++b2) {
            for (unsigned b3 = 0x80; b3 <= 0xBF; ++b3) {
                for (const unsigned b4 : {0x80u, 0x9Du, 0xBFu}) {
                    const std::string seq = bytes({b1, b2, b3, b4});
                    checkUnit(seq, std::nullopt, m);
                    m.check("iconv's CP949 bytes", seq, encoder.convert(seq).value_or(""), std::string());
                }
            }
        }
    }
    EXPECT_EQ(m.found(), std::vector<std::string>{});
}
