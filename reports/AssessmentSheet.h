#pragma once

// The assessment-sheet pattern of the nursing admission sheets (general, maternity, child,
// psychiatric, newborn, rehabilitation): one service row whose fields are codes, flag strings
// and byte-positioned texts, printed as check squares and labels.
//
// Positions count CP949 bytes from 1, as the sheets were written: a Korean syllable takes two.
// A slice never yields half a character (a character cut by either end is left out) and
// positions past the end give empty text. Codes read "as a number" go through CodeToInt and
// throw CodeConversionError for a text that is not a whole number.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::report {
class Report;
}

namespace medrec::reports {

// Bytes first..last of value (1-based, inclusive).
std::string Chars(std::string_view value, int first, int last);
// Bytes first..end of value.
std::string CharsFrom(std::string_view value, int first);
// The one-byte character at position (empty when a double-byte character or nothing is there).
std::string CharAt(std::string_view value, int position);
// The character at position as a number (CodeToInt): -1 when it is blank or missing.
int NumberAt(std::string_view value, int position);
// Without leading and trailing blanks.
std::string Trimmed(std::string_view value);

// A code table: code -> text. Unmatched codes give empty text unless the table names another.
struct CodeText
{
    int code;
    std::string_view text;
};
std::string TextOf(std::initializer_list<CodeText> table, int code, std::string_view unmatched = {});

// What a rule does to check squares: each named square painted black or white. A square a
// rule does not name keeps what it had (the form's white).
struct SquareFill
{
    std::string square;
    bool black = false;
};
using SquareFills = std::vector<SquareFill>;

// The flag rule over a flag string: squares[k] is black when character first + k is exactly
// "Y", white otherwise (an empty or short string leaves them white). An empty name skips a
// character that drives no square.
SquareFills FlagSquares(std::string_view flags, std::initializer_list<std::string_view> squares, int first = 1);

// The choice rule: the square whose code matches is black and every other white; an unmatched
// code blackens `otherwise` when one is named, else leaves all white.
struct CodeSquare
{
    int code;
    std::string_view square;
};
SquareFills ChoiceSquares(int code, std::initializer_list<CodeSquare> choices, std::string_view otherwise = {});
// The same compared as text ("1", "Y", ...).
struct TextSquare
{
    std::string_view text;
    std::string_view square;
};
SquareFills TextChoiceSquares(std::string_view value, std::initializer_list<TextSquare> choices,
                              std::string_view otherwise = {});

// A flag string whose character at `position` is optional: when it is "N" or "Y" it is a flag
// and the free text starts after it, otherwise the free text starts at it.
struct OptionalFlag
{
    std::optional<bool> flag; // set when the character is "N" or "Y"
    std::string text;         // the free text, trimmed when asked
};
OptionalFlag OptionalFlagAt(std::string_view value, int position, bool trimText);

// Paints the squares on the report (black or white brush).
void Paint(report::Report &report, const SquareFills &fills);

} // namespace medrec::reports
