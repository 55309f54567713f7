#pragma once

// The record kinds the print run knows, in the order it tests them: each kind's code, its
// report unit and form, whether it writes a print-history row, its block, and the binding
// tables of its form files. This table is the one place these names stand together.

#include "Bindings.h"
#include "PrintJob.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::reports {

struct PrintContext;

// Fills the record's form from its services; prints nothing itself.
using PrintBlock = BlockResult (*)(PrintContext &);

// A form file of the unit and the binding table filled into it.
struct FormBindings
{
    std::string form; // the file's name without ".json"
    BindingTable table;
};
using BindingsOf = std::vector<FormBindings> (*)();

struct RecordKind
{
    std::string_view code; // "MDOPRECT"
    std::string_view unit; // the report unit, "MDS510U1_P01"; its folder holds the form files
    std::string_view form; // the report form, "TMDS510F1_P01"
    bool writesHistory;    // false for the two kinds that write no print-history row
    PrintBlock block;      // nullptr while the kind is not built
    BindingsOf bindings;   // with the block
};

inline constexpr int kRecordKindCount = 28;

// The table, in dispatch order.
const std::array<RecordKind, kRecordKindCount> &RecordKinds();

// The first entry whose code equals the text exactly (case-sensitive), or nullptr.
const RecordKind *FindRecordKind(std::string_view code);

} // namespace medrec::reports
