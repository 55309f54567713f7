#pragma once

// The record kinds the print run knows, in the order it tests them. A kind's row is its one
// identity: its code, its report unit and forms, the print-history row it writes, its block
// and its forms' binding tables. The block is handed its row (RecordPrint.h) and never
// restates any of it.

#include "Bindings.h"
#include "PrintJob.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace medrec::reports {

class RecordPrint;
class RowCells;

// The binding tables of one form of a kind.
struct FormBindings
{
    BindingTable fill;   // applied once to the fresh report, from the block's values
    BindingTable detail; // applied to each detail record, from its staged row's values
};
// One entry per form of the kind, in the order of RecordKind::forms.
using FormBindingsOf = const std::vector<FormBindings> &(*)();

// Fills the record's forms from its services; prints nothing itself.
using PrintBlock = BlockResult (*)(RecordPrint &);

// The print-history row a kind writes after each print: the record's columns 0 and 1, then
// the cells it names as A3 to A5 ("empty" past them); or none at all.
class History
{
public:
    static constexpr History none() { return History(); }
    // At most three cells: the row has three places for them.
    static constexpr History written(std::initializer_list<int> detailCells = {})
    {
        if (detailCells.size() > 3)
            throw std::invalid_argument("a print-history row holds three cells after the record's key");
        History history;
        history.m_written = true;
        std::size_t i = 0;
        for (int cell : detailCells)
            history.m_details[i++] = cell;
        return history;
    }

    constexpr bool writes() const { return m_written; }
    // The row of the selected record; nullopt for a kind that writes none.
    std::optional<HistoryRow> rowOf(const RowCells &record) const;

private:
    constexpr History() = default;

    bool m_written = false;
    std::array<int, 3> m_details{-1, -1, -1}; // -1: "empty"
};

struct RecordKind
{
    std::string_view code;          // "MDOPRECT"
    std::string_view unit;          // the report unit, "MDS510U1_P01"; its folder holds the form files
    std::vector<std::string> forms; // its form files without ".json", in print order
    History history;
    PrintBlock block;        // nullptr while the kind is not built
    FormBindingsOf bindings; // with the block
};

inline constexpr int kRecordKindCount = 28;

// The table, in dispatch order.
const std::array<RecordKind, kRecordKindCount> &RecordKinds();

// The first entry whose code equals the text exactly (case-sensitive), or nullptr.
const RecordKind *FindRecordKind(std::string_view code);

} // namespace medrec::reports
