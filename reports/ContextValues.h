#pragma once

// The names of the values a block's binding tables read, one scheme for every kind.
//
// Put in by the frame before the block runs (ContextValues):
//   "record.N"   cell N of the selected record row (ugd_RecodDt); 0 is the patient number
//   "visit.N"    cell N of the current visit row (ugd_History)
//   "kind.N"     cell N of the current record-kind row (ugd_RecodKnd)
//   "panel.patNo", "panel.name", "panel.sexAge", "panel.resNo" (shown whole),
//   "panel.birthDate" (YYYYMMDD), "panel.address"   the patient panels
// Added by the block:
//   "S_STRING15"               a field of the kind's own service row, unprefixed
//   "MD_PATBA_L2.S_STRING11"   a field of another service's row, under the service's name
//   "header.patNo" ...         the patient block of a header (PatientHeader.h)
//   "colN", "rowK.colN"        a staged row's cells; row K of a block of staged rows
//   "line.text", "line.first", "line.last", "line.dayHeader"
//                              one printed line of a dated journal (DatedJournal.h): its
//                              text, and "Y" on an entry's first and last line and on a
//                              day header
// Cells past a row's last column read as empty text, as on the screen.
//
// Texts a form fixes for itself (a title, a form number) are not values: a binding table
// prints them as literals (bind::literal).

#include "FieldValues.h"

#include <functional>
#include <string>
#include <string_view>

namespace medrec::reports {

struct PrintContext;

namespace value {

// How many cells of each row the context puts in.
inline constexpr int kCells = 32;

std::string record(int cell);
std::string visit(int cell);
std::string kind(int cell);
std::string col(int column);
std::string rowCol(int row, int column);

inline constexpr const char *kPanelPatNo = "panel.patNo";
inline constexpr const char *kPanelName = "panel.name";
inline constexpr const char *kPanelSexAge = "panel.sexAge";
inline constexpr const char *kPanelResNo = "panel.resNo";
inline constexpr const char *kPanelBirthDate = "panel.birthDate";
inline constexpr const char *kPanelAddress = "panel.address";

inline constexpr const char *kLineText = "line.text";
inline constexpr const char *kLineFirst = "line.first";
inline constexpr const char *kLineLast = "line.last";
inline constexpr const char *kLineDayHeader = "line.dayHeader";

// Whether `name` follows the scheme; `isField` says whether a name is a field of the field
// table ("S_STRING15", "L_CNT1").
bool IsValueName(std::string_view name, const std::function<bool(std::string_view)> &isField);

} // namespace value

// The context's values under their names.
FieldValues ContextValues(const PrintContext &context);

} // namespace medrec::reports
