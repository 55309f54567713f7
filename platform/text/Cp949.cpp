#include "Cp949.h"

#include "Cp949Tables.h"

#include <cstdint>

namespace medrec::text {

namespace {

// Built at the first use in the process; read-only afterwards, so threads need no lock.
const Cp949Tables &tables()
{
    static const Cp949Tables t;
    return t;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
constexpr char32_t kNoCharacter = 0xFFFFFFFF;

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

bool isSurrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

// One unit of a UTF-8 text: a character, a well-formed sequence that is no character, or a
// single byte that starts no sequence.
struct Utf8Unit
{
    std::size_t size;
    char32_t codePoint; // kNoCharacter unless a character
};

// The unit at s[i]. Overlong forms, surrogates and code points past U+10FFFF take their
// whole sequence but are no character: iconv refuses them.
inline Utf8Unit utf8UnitAt(std::string_view s, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80)
        return {1, lead};
    const std::size_t n = utf8SequenceLength(lead);
    if (n == 1 || n > s.size() - i)
        return {1, kNoCharacter};
    char32_t cp = lead & (0x7Fu >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if (!isContinuation(c))
            return {1, kNoCharacter};
        cp = cp << 6 | (c & 0x3Fu);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[n] || isSurrogate(cp) || cp > 0x10FFFF)
        return {n, kNoCharacter};
    return {n, cp};
}

// Width in CP949 bytes: a character without a CP949 form becomes '?'.
std::size_t widthOf(const Cp949Tables::Cp949Char &c) { return c.size == 0 ? 1 : c.size; }

} // namespace

std::string converterProblem() { return tables().problem(); }

std::size_t utf8SequenceLength(unsigned char c)
{
    if (c < 0x80)
        return 1;
    if ((c & 0xE0) == 0xC0)
        return 2;
    if ((c & 0xF0) == 0xE0)
        return 3;
    if ((c & 0xF8) == 0xF0)
        return 4;
    return 1;
}

std::string toCp949(std::string_view utf8)
{
    const Cp949Tables &t = tables();
    // No character takes more bytes in CP949 than in UTF-8.
    std::string out(utf8.size(), '\0');
    char *p = out.data();
    for (std::size_t i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            *p++ = utf8[i++];
            continue;
        }
        const Utf8Unit u = utf8UnitAt(utf8, i);
        i += u.size;
        const Cp949Tables::Cp949Char &c = t.encoded(u.codePoint);
        if (c.size == 0) {
            *p++ = '?';
            continue;
        }
        // Both bytes fit: a character with a form here took at least two bytes of UTF-8.
        p[0] = c.bytes[0];
        p[1] = c.bytes[1];
        p += c.size;
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

bool isCp949Representable(std::string_view utf8)
{
    const Cp949Tables &t = tables();
    for (std::size_t i = 0; i < utf8.size();) {
        const Utf8Unit u = utf8UnitAt(utf8, i);
        if (t.encoded(u.codePoint).size == 0)
            return false;
        i += u.size;
    }
    return true;
}

bool isValidCp949(std::string_view cp949)
{
    const Cp949Tables &t = tables();
    for (std::size_t i = 0; i < cp949.size();) {
        const auto c = static_cast<unsigned char>(cp949[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (i + 1 >= cp949.size() || t.decoded(c, static_cast<unsigned char>(cp949[i + 1])).size == 0)
            return false;
        i += 2;
    }
    return true;
}

std::string fromCp949(std::string_view cp949)
{
    const Cp949Tables &t = tables();
    // At most three bytes for each byte: an invalid one becomes U+FFFD.
    std::string out(cp949.size() * kReplacement.size(), '\0');
    char *p = out.data();
    for (std::size_t i = 0; i < cp949.size();) {
        const auto c = static_cast<unsigned char>(cp949[i]);
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
            ++i;
            continue;
        }
        if (i + 1 < cp949.size()) {
            const Cp949Tables::Utf8Char &d = t.decoded(c, static_cast<unsigned char>(cp949[i + 1]));
            if (d.size != 0) {
                // All three bytes fit: the pair has room for six.
                p[0] = d.bytes[0];
                p[1] = d.bytes[1];
                p[2] = d.bytes[2];
                p += d.size;
                i += 2;
                continue;
            }
        }
        for (const char r : kReplacement)
            *p++ = r;
        ++i;
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
    return out;
}

std::size_t cp949Width(std::string_view utf8)
{
    const Cp949Tables &t = tables();
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            ++width;
            ++i;
            continue;
        }
        const Utf8Unit u = utf8UnitAt(utf8, i);
        width += widthOf(t.encoded(u.codePoint));
        i += u.size;
    }
    return width;
}

std::string cp949Slice(std::string_view utf8, std::size_t start, std::size_t count)
{
    const Cp949Tables &t = tables();
    std::string out;
    // count may be npos: to the end.
    const std::size_t end = count > SIZE_MAX - start ? SIZE_MAX : start + count;
    std::size_t pos = 0;
    for (std::size_t i = 0; i < utf8.size() && pos < end;) {
        const Utf8Unit u = utf8UnitAt(utf8, i);
        const std::size_t w = widthOf(t.encoded(u.codePoint));
        if (pos >= start && pos + w <= end)
            out.append(utf8.substr(i, u.size));
        pos += w;
        i += u.size;
    }
    return out;
}

std::string cp949Left(std::string_view utf8, std::size_t width) { return cp949Slice(utf8, 0, width); }

} // namespace medrec::text
