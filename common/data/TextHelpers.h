#pragma once

// Text helpers of the screens and forms: telephone numbers, one-line texts, character
// counts and replacement. UTF-8 in and out.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace medrec::common {

// Without leading and trailing blanks and control characters (every byte up to ' ').
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimRightBlanks(std::string_view text);
// The same as a string of its own.
std::string Trimmed(std::string_view text);

// The whole number a text holds: an optional sign and digits, nothing else (no blanks).
// nullopt for anything else, empty text and numbers beyond int included.
std::optional<int> WholeNumber(std::string_view text);

// A telephone number with hyphens, from its digits: 02-1234-5678, 123-4567, 010-1234-5678.
// A text with 4 digits or fewer comes back unchanged.
std::string FmtPhoneNo(std::string_view text);

// The text on one line: at each CR and each LF the text so far loses its trailing blanks
// and gets one blank, so CR LF becomes one blank and blank lines collapse.
std::string JoinLines(std::string_view text);

// Number of characters; a Korean syllable counts once. A byte that is not valid UTF-8
// counts as one character.
std::size_t CharCount(std::string_view text);

// Every occurrence of search replaced, left to right; replaced text is not searched again,
// so a replacement that contains the search text is safe. An empty search changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement);

} // namespace medrec::common
