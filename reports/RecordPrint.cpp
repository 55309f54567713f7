#include "RecordPrint.h"

#include "ContextValues.h"
#include "PrintContext.h"
#include "ReportForms.h"

namespace medrec::reports {

RecordPrint::RecordPrint(const RecordKind &kind, PrintContext &context)
    : kind(kind), context(context), values(ContextValues(context))
{
}

const std::string &RecordPrint::cell(int col) const { return context.record[col]; }

engine::Report &RecordPrint::addReport(PrintJob &job, std::size_t form, const engine::Report::Hook &onCreate) const
{
    engine::Report &report = job.add(MakeReport(std::string(kind.unit), kind.forms.at(form), onCreate));
    ApplyBindings(report, kind.bindings().at(form).fill, values);
    return report;
}

const BindingTable &RecordPrint::detail(std::size_t form) const { return kind.bindings().at(form).detail; }

PrintJob RecordPrint::sheetJob(const engine::Report::Hook &onCreate) const
{
    PrintJob job;
    for (std::size_t form = 0; form < kind.forms.size(); ++form)
        addReport(job, form, onCreate);
    return job;
}

PrintedSummary RecordPrint::summaryOf(const SummaryCells &cells) const
{
    const auto at = [this](int col) { return col < 0 ? std::string() : cell(col); };
    return {.meddate = at(cells.meddate),
            .dschdate = at(cells.dschdate),
            .patgubun = at(cells.patgubun),
            .meddept = at(cells.meddept),
            .chadr = at(cells.chadr)};
}

BlockResult RunBlock(const RecordKind &kind, PrintContext &context)
{
    RecordPrint print(kind, context);
    BlockResult result = kind.block(print);
    if (auto *job = std::get_if<PrintJob>(&result)) {
        job->summary.patno = context.record[0];
        job->history = kind.history.rowOf(context.record);
    }
    return result;
}

} // namespace medrec::reports
