#include "Cp949Converter.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace medrec::text {

namespace {

class Iconv
{
public:
    Iconv(const char *to, const char *from) : m_cd(iconv_open(to, from))
    {
        if (!isOpen())
            m_problem = std::string("the system cannot convert from ") + from + " to " + to +
                        " (iconv_open: " + std::strerror(errno) + ")";
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
    template <std::size_t N> std::uint8_t convert(std::string_view in, char (&out)[N])
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

} // namespace

// CP949 and UTF-8 keep no shift state and every input is whole, so one descriptor each way
// serves every character in turn without a reset (about a third of the time).
struct Cp949Converter::State
{
    Iconv encoder{"CP949", "UTF-8"};
    Iconv decoder{"UTF-8", "CP949"};
};

Cp949Converter::Cp949Converter() : m_state(std::make_unique<State>())
{
    m_problem = m_state->encoder.problem().empty() ? m_state->decoder.problem() : m_state->encoder.problem();
}

Cp949Converter::~Cp949Converter() = default;

bool Cp949Converter::canEncode() const
{
    return m_state->encoder.isOpen();
}

bool Cp949Converter::canDecode() const
{
    return m_state->decoder.isOpen();
}

std::uint8_t Cp949Converter::encode(std::string_view utf8Char, char (&out)[2])
{
    return m_state->encoder.convert(utf8Char, out);
}

std::uint8_t Cp949Converter::decode(std::string_view pair, char (&out)[3])
{
    return m_state->decoder.convert(pair, out);
}

} // namespace medrec::text
