#pragma once

// CP949 <-> UTF-8 at the boundaries, and widths counted the way the wire and the printed
// forms count them: in CP949 bytes (a Korean syllable takes two).

#include <cstddef>
#include <string>
#include <string_view>

namespace medrec::text {

// Empty when both conversions can be used; otherwise why not (a system without the CP949
// converter). Programs check it at start and refuse to run: without it every Korean
// character would travel as '?' and decode as U+FFFD.
std::string converterProblem();

// UTF-8 to CP949. Characters CP949 cannot hold become '?'; invalid UTF-8 bytes too.
std::string toCp949(std::string_view utf8);

// True when every character of the UTF-8 text has a CP949 form.
bool isCp949Representable(std::string_view utf8);

// True when the bytes are a well-formed CP949 text.
bool isValidCp949(std::string_view cp949);

// CP949 to UTF-8. Bytes that are not valid CP949 decode to U+FFFD; never throws.
std::string fromCp949(std::string_view cp949);

// Width of a UTF-8 text in CP949 bytes: 1 for ASCII, 2 for every other character that
// CP949 holds, 1 for a character it does not (it becomes '?').
std::size_t cp949Width(std::string_view utf8);

// The UTF-8 text of the CP949 bytes [start, start + count) of utf8, never splitting a
// double-byte character: a character that straddles the start is left out, one that
// straddles the end is left out too.
std::string cp949Slice(std::string_view utf8, std::size_t start, std::size_t count);

// The leading part of utf8 that fits in width CP949 bytes, never splitting a character.
std::string cp949Left(std::string_view utf8, std::size_t width);

// Number of bytes of the UTF-8 sequence that starts with lead byte c (1 for invalid).
std::size_t utf8SequenceLength(unsigned char c);

} // namespace medrec::text
