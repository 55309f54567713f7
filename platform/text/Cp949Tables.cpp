#include "Cp949Tables.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <string_view>

namespace medrec::text {

namespace {

class Iconv
{
public:
    Iconv(const char *to, const char *from) : m_cd(iconv_open(to, from))
    {
        if (!isOpen())
            m_problem = std::string("the system cannot convert from ") + from + " to " + to + " (iconv_open: " +
                        std::strerror(errno) + ")";
    }
    ~Iconv()
    {
        if (isOpen())
            iconv_close(m_cd);
    }
    Iconv(const Iconv &) = delete;
    Iconv &operator=(const Iconv &) = delete;

    bool isOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    const std::string &problem() const { return m_problem; }

    // Converts `in` as a whole into out; the bytes written, or 0 when iconv refuses it or
    // gives more than out holds (more than one character).
    template <std::size_t N>
    std::uint8_t convert(std::string_view in, char (&out)[N])
    {
        char buf[16];
        char *inPtr = const_cast<char *>(in.data());
        std::size_t inLeft = in.size();
        char *outPtr = buf;
        std::size_t outLeft = sizeof buf;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return 0;
        const auto size = static_cast<std::size_t>(outPtr - buf);
        if (size > N)
            return 0;
        std::memcpy(out, buf, size);
        return static_cast<std::uint8_t>(size);
    }

private:
    iconv_t m_cd;
    std::string m_problem;
};

// The UTF-8 bytes of a code point from U+0080 to U+FFFF.
std::string_view utf8Of(char32_t cp, char (&buf)[3])
{
    if (cp < 0x800) {
        buf[0] = static_cast<char>(0xC0 | cp >> 6);
        buf[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return {buf, 2};
    }
    buf[0] = static_cast<char>(0xE0 | cp >> 12);
    buf[1] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    buf[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return {buf, 3};
}

} // namespace

Cp949Tables::Cp949Tables() : m_encode(0x10000), m_decode(0x10000)
{
    for (char32_t c = 0; c < 0x80; ++c)
        m_encode[c] = {1, {static_cast<char>(c)}};

    // CP949 and UTF-8 keep no shift state and every input below is whole, so one descriptor
    // each way serves every character in turn without a reset (about a third of the time).
    Iconv encoder("CP949", "UTF-8");
    Iconv decoder("UTF-8", "CP949");
    m_problem = encoder.problem().empty() ? decoder.problem() : encoder.problem();

    if (encoder.isOpen()) {
        // Surrogates included: iconv refuses them as it refuses them in a text.
        for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
            char utf8[3];
            Cp949Char &e = m_encode[cp];
            e.size = encoder.convert(utf8Of(cp, utf8), e.bytes);
        }
    }
    if (decoder.isOpen()) {
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0; trail <= 0xFF; ++trail) {
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                Utf8Char &d = m_decode[lead << 8 | trail];
                d.size = decoder.convert({pair, 2}, d.bytes);
            }
        }
    }
}

} // namespace medrec::text
