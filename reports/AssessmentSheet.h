#pragma once

// The assessment-sheet pattern of the nursing admission sheets (general, maternity, child,
// psychiatric, newborn, rehabilitation): the keys of the selected record, the chain of
// services each sheet calls, the byte-positioned reading of its fields, the flag-string
// rules no single binding covers, the summary labels and the history row.
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
#include <vector>

namespace medrec::reports {

struct PrintContext;

namespace sheet {

// The prefixes the patient row and the writer's staff row go under in the sheet's values;
// the sheet's own service row goes in unprefixed ("S_STRING15").
inline constexpr const char *kPatient = "MD_PATBA_L2.";
inline constexpr const char *kWriter = "MD_INSAM_L1.";
// The selected record's admission date (grid column 1), as the values hold it.
inline constexpr const char *kAdmDate = "cell1";

// Every sheet is asked for by the record's patient number and admission date (YYYYMMDD).
struct Keys
{
    std::string patNo, admDate;
};
Keys KeysOf(const PrintContext &context);

// The steps of a sheet's service chain. Each adds its row to the values and returns the
// block's early exit (nullopt: go on); `whenEmpty` is what no row tells the operator.
std::optional<NotPrinted> FetchPatient(const Keys &keys, FieldValues &values, const Notice &whenEmpty);
// The writer's name: "MD_INSAM_L1" with "Y", staffKind ("1" or "2"), the writer's
// identifier and "EB1".
std::optional<NotPrinted> FetchWriter(const std::string &writerId, const std::string &staffKind, FieldValues &values,
                                      const Notice &whenEmpty);

// The summary labels every sheet sets from its record row: patient number, admission date,
// discharge date (column 5), "I", department (column 6), attending (column 7).
PrintedSummary Summary(const PrintContext &context);
// The one history row: patient number, admission date, "empty" three times.
HistoryRow History(const Keys &keys);

// Byte-positioned reading (1-based, inclusive).
std::string Chars(std::string_view value, std::size_t first, std::size_t last);
std::string CharsFrom(std::string_view value, std::size_t first);
// The one-byte character at position; empty when a double-byte character or nothing is there.
std::string CharAt(std::string_view value, std::size_t position);

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

} // namespace sheet

} // namespace medrec::reports
