#include "ReportForms.h"

#include "PrintJob.h"

#include "report_engine/FormLoader.h"
#include "report_engine/QtTextMeasurer.h"

#include "DataPaths.h"

namespace medrec::reports {

engine::Form LoadReportForm(const std::string &unit, const std::string &name)
{
    const auto forms = paths::locate(paths::Data::Forms);
    const auto logos = paths::locate(paths::Data::Logo);
    return engine::loadForm(name, {forms / unit, forms}, engine::LoadOptions{{logos}});
}

std::unique_ptr<engine::Report> MakeReport(const std::string &unit, const std::string &name,
                                           const engine::Report::Hook &onCreate)
{
    return std::make_unique<engine::Report>(LoadReportForm(unit, name), onCreate);
}

engine::Document LayOutJob(const PrintJob &job, const std::string &title, const engine::RunOptions &options)
{
    engine::QtTextMeasurer measurer;
    std::vector<engine::Report *> reports;
    for (const auto &report : job.reports())
        reports.push_back(report.get());
    engine::Document document = engine::runAll(reports, measurer, options);
    if (!title.empty())
        document.title = title;
    return document;
}

} // namespace medrec::reports
