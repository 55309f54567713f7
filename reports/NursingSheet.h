#pragma once

// The nursing admission sheets' family (general, maternity, child, psychiatric, newborn,
// rehabilitation): the chain of services a sheet calls, the byte-positioned reading of its
// fields, the rules no single binding covers, and the summary labels. Every rule takes the
// components it fills and the code table it reads from the sheet: the same code means
// different things on different sheets.
//
// Positions count CP949 bytes from 1, as the sheets were written: a Korean syllable takes two.
// A slice never yields half a character (a character cut by either end is left out) and
// positions past the end give empty text. A code read "as a number" goes through CodeToInt,
// which throws CodeConversionError for a text that is not a whole number.

#include "Bindings.h"
#include "FieldValues.h"
#include "PrintJob.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace medrec::services {
class FieldResults;
}

namespace medrec::reports {

class RecordPrint;

namespace sheet {

// The prefixes the patient row and the writer's staff row go under in the sheet's values;
// the sheet's own service row goes in unprefixed ("S_STRING15").
inline constexpr const char *kPatient = "MD_PATBA_L2.";
inline constexpr const char *kWriter = "MD_INSAM_L1.";

// The steps of a sheet's service chain, by the record's patient number (cell 0). Each adds its
// row to the block's values and returns the block's early exit (nullopt: go on); `whenEmpty`
// is what no row tells the operator.
std::optional<NotPrinted> FetchPatient(RecordPrint &print, const Notice &whenEmpty);
// The writer's name: "MD_INSAM_L1" with "Y", staffKind ("1" or "2"), the writer's identifier
// and "EB1".
std::optional<NotPrinted> FetchWriter(RecordPrint &print, const std::string &writerId, const std::string &staffKind,
                                      const Notice &whenEmpty);

// The summary labels a sheet sets from its record row: admission date (column 1), discharge
// date, "I", department and attending from the columns the sheet names.
PrintedSummary Summary(const RecordPrint &print, int dischargeCell = 5, int deptCell = 6, int doctorCell = 7);

// Byte-positioned reading (1-based, inclusive).
std::string Chars(std::string_view value, std::size_t first, std::size_t last);
std::string CharsFrom(std::string_view value, std::size_t first);
// The one-byte character at position; empty when a double-byte character or nothing is there.
std::string CharAt(std::string_view value, std::size_t position);

// A code table: the text each code prints as on one sheet.
using CodeTexts = std::vector<std::pair<int, std::string>>;
// The text of the code; empty for a code the table lacks.
std::string TextOf(const CodeTexts &table, int code);

// The value's first character.
Source FirstChar(const Source &source);

// The label shows the text of the code in characters 1 .. codeChars, or, for `textCode`,
// the value from character codeChars + 1 on.
Binding codeOrText(std::string label, Source source, std::size_t codeChars, CodeTexts table, int textCode);
// The first character is the code, the rest a note: the code's text "(" note ")", or the
// note alone for `aloneCode`; a code the table lacks leaves the label empty.
Binding codeAndNote(std::string label, Source source, CodeTexts table, int aloneCode);
// The code's text, "/", then the count.
Binding codeAndCount(std::string label, Source code, Source count, CodeTexts table);
// Character i of the value drives labels[i] by its code's text.
Binding charCodes(std::vector<std::string> labels, Source source, CodeTexts table);
// The label shows `fixed` when the trimmed value is that text, else the value as delivered.
Binding trimmedWhen(std::string label, Source source, std::string fixed);

// A flag string whose characters from `position` on are optional flags: when the character
// at `position` is "N" or "Y", characters position .. position + n - 1 drive the n squares
// by the flag rule and the label shows the rest; otherwise the squares are left alone and
// the label shows everything from `position`.
Binding optionalFlagsText(std::vector<std::string> squares, std::string label, Source source, std::size_t position,
                          bool trimText);

// A leading square with its sub-items: only when the first character says so (`isOn`) the
// leading square turns black and characters 2, 3, ... drive the sub-item squares; otherwise
// none of them is touched.
using LeadTest = bool (*)(const std::string &firstChar);
Binding leadFlagSquares(std::string lead, std::vector<std::string> items, Source source, LeadTest isOn);
bool FirstIsTextOne(const std::string &firstChar);   // compared as text with "1"
bool FirstIsNumberOne(const std::string &firstChar); // read as a number (CodeToInt), equal to 1

// What the operator is told when a sheet's service or staff lookup finds no row: a status
// text, never a silent end that cannot be told from a print.
inline const Notice kNoRowsFound = Notice::status("조회된 데이타가 없습니다.");

// The sheets whose one service row holds all they print, the writer's name included (child,
// psychiatric): `fetched` is the data class's result and `row` its results. No row stops the
// print with kNoRowsFound; the title block's patient comes from the screen's panels, the
// summary from the record row (Summary with its usual columns).
BlockResult PrintSheetRow(RecordPrint &print, int fetched, const services::FieldResults &row);

// The label shows the text whose code, written out, equals the value: compared as text and
// never converted, so " 1" and "01" match nothing.
Binding textCode(std::string label, Source source, CodeTexts table);
// The label shows `fixed` when `test`'s value passes `isFixed`, else `otherwise` as delivered.
Binding fixedWhen(std::string label, Source test, LeadTest isFixed, std::string fixed, Source otherwise);
bool TrimmedIsOne(const std::string &value); // the value without its blanks is "1"

} // namespace sheet

} // namespace medrec::reports
