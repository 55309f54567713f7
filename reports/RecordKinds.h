#pragma once

// The record kinds the print run knows, in the order it tests them, and the block that
// prints each.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace medrec::reports {

class PrintContext;

// The block-specific values of the print-history row (A3 to A5); "empty" for none.
struct HistoryValues
{
    std::string a3 = "empty", a4 = "empty", a5 = "empty";
};

// Prints the selected record. nullopt when nothing was printed (the block has told the
// operator why); otherwise the history values.
using PrintBlock = std::optional<HistoryValues> (*)(PrintContext &);

struct RecordKind
{
    std::string_view code;     // "MDOPRECT"
    std::string_view form;     // the report form, "TMDS510F1_P01"
    bool writesHistory;        // false for the two kinds that write no print-history row
    PrintBlock block;          // nullptr while the kind's block is not built
};

inline constexpr int kRecordKindCount = 28;

// The table, in dispatch order.
const std::array<RecordKind, kRecordKindCount> &RecordKinds();

// The first entry whose code equals the text exactly (case-sensitive), or nullptr.
const RecordKind *FindRecordKind(std::string_view code);

} // namespace medrec::reports
