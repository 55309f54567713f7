#pragma once

// The system's own CP949 converter, asked one character at a time while Cp949Tables is
// built: iconv where the C library has it, code page 949 on Windows. Both are held to the
// same tables by the tests.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace medrec::text {

class Cp949Converter
{
public:
    Cp949Converter();
    ~Cp949Converter();
    Cp949Converter(const Cp949Converter &) = delete;
    Cp949Converter &operator=(const Cp949Converter &) = delete;

    bool canEncode() const;
    bool canDecode() const;
    // Why a direction cannot be used; empty when both can.
    const std::string &problem() const { return m_problem; }

    // The CP949 bytes of one whole UTF-8 character into out; their count, 0 when CP949
    // has no such character.
    std::uint8_t encode(std::string_view utf8Char, char (&out)[2]);
    // The UTF-8 bytes of one two-byte CP949 character into out; their count, 0 when the
    // pair is not one character.
    std::uint8_t decode(std::string_view pair, char (&out)[3]);

private:
    struct State;
    std::unique_ptr<State> m_state;
    std::string m_problem;
};

} // namespace medrec::text
