#include "Cp949.h"

#include <cstdint>

#include <cerrno>
#include <iconv.h>
#include <mutex>

namespace medrec::text {

namespace {

// iconv descriptors are not thread-safe; the server converts on several threads.
class Converter
{
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts one unit (a character); false when it has no form in the target.
    bool convert(std::string_view in, std::string &out)
    {
        std::lock_guard lock(m_mutex);
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buf[16];
        char *inPtr = const_cast<char *>(in.data());
        size_t inLeft = in.size();
        char *outPtr = buf;
        size_t outLeft = sizeof buf;
        if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
            return false;
        out.append(buf, static_cast<size_t>(outPtr - buf));
        return true;
    }

private:
    iconv_t m_cd;
    std::mutex m_mutex;
};

Converter &encoder()
{
    static Converter c("CP949", "UTF-8");
    return c;
}

Converter &decoder()
{
    static Converter c("UTF-8", "CP949");
    return c;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the valid UTF-8 character at s[i], or 0 when the bytes there are not one.
std::size_t validUtf8At(std::string_view s, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    const std::size_t n = utf8SequenceLength(lead);
    if (n == 1)
        return lead < 0x80 ? 1 : 0;
    if (i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if (!isContinuation(static_cast<unsigned char>(s[i + k])))
            return 0;
    return n;
}

bool isCp949Lead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Width in CP949 bytes of one UTF-8 character, and whether it has a CP949 form.
std::size_t charWidth(std::string_view ch, bool *representable)
{
    if (ch.size() == 1) {
        *representable = true;
        return 1;
    }
    std::string out;
    *representable = encoder().convert(ch, out);
    return *representable ? out.size() : 1;
}

} // namespace

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
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = validUtf8At(utf8, i);
        if (n == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        if (n == 1)
            out.push_back(utf8[i]);
        else if (!encoder().convert(utf8.substr(i, n), out))
            out.push_back('?');
        i += n;
    }
    return out;
}

bool isCp949Representable(std::string_view utf8)
{
    std::string scratch;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = validUtf8At(utf8, i);
        if (n == 0)
            return false;
        if (n > 1 && !encoder().convert(utf8.substr(i, n), scratch))
            return false;
        i += n;
    }
    return true;
}

bool isValidCp949(std::string_view cp949)
{
    std::string scratch;
    for (std::size_t i = 0; i < cp949.size();) {
        const auto c = static_cast<unsigned char>(cp949[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (!isCp949Lead(c) || i + 1 >= cp949.size() || !decoder().convert(cp949.substr(i, 2), scratch))
            return false;
        i += 2;
    }
    return true;
}

std::string fromCp949(std::string_view cp949)
{
    std::string out;
    out.reserve(cp949.size() + cp949.size() / 2);
    for (std::size_t i = 0; i < cp949.size();) {
        const auto c = static_cast<unsigned char>(cp949[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        if (isCp949Lead(c) && i + 1 < cp949.size() && decoder().convert(cp949.substr(i, 2), out)) {
            i += 2;
            continue;
        }
        out.append(kReplacement);
        ++i;
    }
    return out;
}

std::size_t cp949Width(std::string_view utf8)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = validUtf8At(utf8, i);
        if (n <= 1) {
            ++width;
            ++i;
            continue;
        }
        bool ok = false;
        width += charWidth(utf8.substr(i, n), &ok);
        i += n;
    }
    return width;
}

std::string cp949Slice(std::string_view utf8, std::size_t start, std::size_t count)
{
    std::string out;
    // count may be npos: to the end.
    const std::size_t end = count > SIZE_MAX - start ? SIZE_MAX : start + count;
    std::size_t pos = 0;
    for (std::size_t i = 0; i < utf8.size() && pos < end;) {
        std::size_t n = validUtf8At(utf8, i);
        if (n == 0)
            n = 1;
        bool ok = false;
        const std::size_t w = n == 1 ? 1 : charWidth(utf8.substr(i, n), &ok);
        if (pos >= start && pos + w <= end)
            out.append(utf8.substr(i, n));
        pos += w;
        i += n;
    }
    return out;
}

std::string cp949Left(std::string_view utf8, std::size_t width) { return cp949Slice(utf8, 0, width); }

} // namespace medrec::text
