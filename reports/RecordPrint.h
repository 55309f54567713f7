#pragma once

// What a block is handed: its kind's registry row, the screen's plain values, and the values
// its binding tables read with the context's already in (ContextValues.h). It makes the
// kind's reports from the kind's declared bindings, so the tables the binding check walks are
// the ones that print.

#include "FieldValues.h"
#include "PrintJob.h"
#include "RecordKinds.h"

#include "report_engine/Report.h"

namespace medrec::reports {

struct PrintContext;

class RecordPrint
{
public:
    RecordPrint(const RecordKind &kind, PrintContext &context);

    const RecordKind &kind;
    PrintContext &context;
    // The context's values; the block adds its services' rows before it makes its reports.
    FieldValues values;

    // Cell `col` of the selected record row; empty past its last column.
    const std::string &cell(int col) const;

    // A fresh report of the kind's form `form` (its place in the kind's forms) added to the
    // job; the hook runs once the form is in place, then the form's fill table is applied
    // from `values`.
    engine::Report &addReport(PrintJob &job, std::size_t form = 0, const engine::Report::Hook &onCreate = {}) const;
    // The detail table of the kind's form `form`.
    const BindingTable &detail(std::size_t form = 0) const;
    // A job of every form of the kind in order, each filled from `values`: the one-row kinds.
    PrintJob sheetJob(const engine::Report::Hook &onCreate = {}) const;

    // The summary labels a kind reads off the record row: a cell number per label, -1 for
    // none (the label stays empty).
    struct SummaryCells
    {
        int meddate = -1, dschdate = -1, patgubun = -1, meddept = -1, chadr = -1;
    };
    PrintedSummary summaryOf(const SummaryCells &cells) const;
};

// Runs the kind's block on the context. On a job, the frame sets what it always sets: the
// summary's patient number and the history row the kind's registry row says.
BlockResult RunBlock(const RecordKind &kind, PrintContext &context);

} // namespace medrec::reports
