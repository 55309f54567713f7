#include "Cp949Tables.h"

#include "Cp949Converter.h"

#include <string_view>

namespace medrec::text {

namespace {

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

    Cp949Converter converter;
    m_problem = converter.problem();

    if (converter.canEncode()) {
        // Surrogates included: the converter refuses them as it refuses them in a text.
        for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
            char utf8[3];
            Cp949Char &e = m_encode[cp];
            e.size = converter.encode(utf8Of(cp, utf8), e.bytes);
        }
    }
    if (converter.canDecode()) {
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0; trail <= 0xFF; ++trail) {
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                Utf8Char &d = m_decode[lead << 8 | trail];
                d.size = converter.decode({pair, 2}, d.bytes);
            }
        }
    }
}

} // namespace medrec::text
