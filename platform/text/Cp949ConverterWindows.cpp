#include "Cp949Converter.h"

#include <windows.h>

#include <cstring>

namespace medrec::text {

namespace {

constexpr UINT kCodePage = 949;

// Code page 949 maps more than iconv's CP949, which the service host uses: two single bytes
// (0x80 for U+0080, 0xFF for U+F8F7) and the two rows of user-defined characters (lead
// bytes 0xC9 and 0xFE, to the private use area). Text from a Windows client must read
// the same on the server, so these are left out, as iconv leaves them out.
bool userDefinedRow(unsigned char lead)
{
    return lead == 0xC9 || lead == 0xFE;
}

} // namespace

struct Cp949Converter::State
{
};

Cp949Converter::Cp949Converter()
{
    if (!IsValidCodePage(kCodePage))
        m_problem = "the system cannot convert from UTF-8 to CP949 (code page 949 is not installed)";
}

Cp949Converter::~Cp949Converter() = default;

bool Cp949Converter::canEncode() const
{
    return m_problem.empty();
}

bool Cp949Converter::canDecode() const
{
    return m_problem.empty();
}

std::uint8_t Cp949Converter::encode(std::string_view utf8Char, char (&out)[2])
{
    wchar_t wide[2];
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Char.data(),
                                          static_cast<int>(utf8Char.size()), wide, 2);
    if (units != 1)
        return 0;
    // No best fit and no default character: a character without its own CP949 form has
    // none, as iconv says, rather than a look-alike or '?'.
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, 1, bytes, sizeof bytes,
                                         nullptr, &usedDefault);
    if (size != 2 || usedDefault || userDefinedRow(static_cast<unsigned char>(bytes[0])))
        return 0;
    std::memcpy(out, bytes, static_cast<std::size_t>(size));
    return static_cast<std::uint8_t>(size);
}

std::uint8_t Cp949Converter::decode(std::string_view pair, char (&out)[3])
{
    if (pair.empty() || userDefinedRow(static_cast<unsigned char>(pair[0])))
        return 0;
    wchar_t wide[4];
    const int units = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, pair.data(),
                                          static_cast<int>(pair.size()), wide, 4);
    // One character from both bytes; a surrogate is no character of the Basic Multilingual Plane.
    if (units != 1 || (wide[0] >= 0xD800 && wide[0] <= 0xDFFF))
        return 0;
    char bytes[8];
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, 1, bytes, sizeof bytes, nullptr, nullptr);
    if (size <= 0 || size > 3)
        return 0;
    std::memcpy(out, bytes, static_cast<std::size_t>(size));
    return static_cast<std::uint8_t>(size);
}

} // namespace medrec::text
