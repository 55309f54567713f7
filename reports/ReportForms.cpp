#include "ReportForms.h"

#include "PrintJob.h"

#include "report_engine/FormLoader.h"
#include "report_engine/QtTextMeasurer.h"

#include "DataPaths.h"

namespace medrec::reports {

report::Form LoadReportForm(const std::string &unit, const std::string &name)
{
    const auto forms = paths::locate(paths::Data::Forms);
    const auto logos = paths::locate(paths::Data::Logo);
    return report::loadForm(name, {forms / unit, forms}, report::LoadOptions{{logos}});
}

std::unique_ptr<report::Report> MakeReport(const std::string &unit, const std::string &name,
                                           const report::Report::Hook &onCreate)
{
    return std::make_unique<report::Report>(LoadReportForm(unit, name), onCreate);
}

report::Document LayOutJob(const PrintJob &job, const std::string &title, const report::RunOptions &options)
{
    report::QtTextMeasurer measurer;
    report::Document document;
    document.title = title;
    for (const auto &report : job.reports()) {
        report::Document part = report->run(measurer, options);
        if (document.title.empty())
            document.title = part.title;
        document.append(std::move(part));
    }
    return document;
}

} // namespace medrec::reports
