#pragma once

// What the record forms share: check squares, marked options, numbered choices and the
// masked resident registration number.

#include <stdexcept>
#include <string>

namespace medrec::engine {
class Report;
}

namespace medrec::reports {

// Fills the square black when the value is exactly "Y", white for anything else.
void shcbx_pro(engine::Report &report, const std::string &shape, const std::string &value);

// Of two mark labels, the first gets "■" when the value is exactly "Y", otherwise the second.
void markYesNo(engine::Report &report, const std::string &value, const std::string &yesLabel,
               const std::string &noLabel);

// The creation hook of forms with "√" mark labels: every label captioned exactly "√" is
// emptied, so only the marks the block sets print.
void clearCheckMarks(engine::Report &report);

// A text that should hold a whole number and does not. The print run stops with what(): the
// toolkit's message, or, when the value it was read from is known, one that names it.
class CodeConversionError : public std::runtime_error
{
public:
    explicit CodeConversionError(const std::string &text, const std::string &valueName = {});

    const std::string &text() const { return m_text; }

private:
    std::string m_text;
};

// -1 for empty text or blanks only; otherwise the whole number the text holds (leading
// blanks allowed). Throws CodeConversionError for anything else.
int CodeToInt(const std::string &text);
// The same for the value of a named field ("S_STRING5"): the error names the field, so the
// operator learns which value of the record is wrong.
int CodeToInt(const std::string &text, const std::string &field);
// The whole number a key holds (leading blanks allowed); throws CodeConversionError for
// anything else, empty text included: a key that is no number names no record.
int KeyToInt(const std::string &text);

// "front-b******": the six front digits, "-", the first back digit, then six asterisks.
std::string MaskedResNo(const std::string &front, const std::string &back);
// The same from the screen's whole number "front-back": its first 8 characters, then "******".
std::string MaskedResNo(const std::string &shownWhole);

} // namespace medrec::reports
