#pragma once

// What the system's converter (Cp949Converter: iconv, or code page 949 on Windows) makes of
// every CP949 double-byte pair and of every character of the Basic Multilingual Plane,
// asked once, so that converting a text afterwards is table lookups: no converter call and
// no lock. Read-only once built; threads share it freely.

#include <cstdint>
#include <string>
#include <vector>

namespace medrec::text {

class Cp949Tables
{
public:
    // One character's bytes in the other encoding; size 0 when it has none there.
    struct Cp949Char
    {
        std::uint8_t size = 0;
        char bytes[2] = {};
    };
    struct Utf8Char
    {
        std::uint8_t size = 0;
        char bytes[3] = {};
    };

    // Asks the converter (a few ms). A direction it cannot use leaves its table empty: nothing
    // converts, and problem() says why.
    Cp949Tables();

    // The CP949 form of a code point (ASCII stands for itself); none past U+FFFF.
    const Cp949Char &encoded(char32_t codePoint) const
    {
        return codePoint < m_encode.size() ? m_encode[codePoint] : m_none;
    }

    // The UTF-8 form of the pair lead, trail taken as one CP949 character; none when it is
    // not one (an ASCII or stray lead byte included).
    const Utf8Char &decoded(unsigned char lead, unsigned char trail) const
    {
        return m_decode[static_cast<std::size_t>(lead) << 8 | trail];
    }

    // Why a direction could not be built; empty when both were.
    const std::string &problem() const { return m_problem; }

private:
    std::vector<Cp949Char> m_encode; // by code point, U+0000-U+FFFF
    std::vector<Utf8Char> m_decode;  // by lead byte << 8 | trail byte
    Cp949Char m_none;
    std::string m_problem;
};

} // namespace medrec::text
