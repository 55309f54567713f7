#include "PrintJob.h"

#include "report_engine/Report.h"

namespace medrec::reports {

PrintJob::PrintJob() = default;
PrintJob::PrintJob(PrintJob &&) noexcept = default;
PrintJob &PrintJob::operator=(PrintJob &&) noexcept = default;
PrintJob::~PrintJob() = default;

engine::Report &PrintJob::add(std::unique_ptr<engine::Report> report)
{
    m_reports.push_back(std::move(report));
    return *m_reports.back();
}

std::optional<NotPrinted> Fetched(int result, Notice whenEmpty)
{
    if (result < 0)
        return NotPrinted{NotPrinted::Reason::ServiceFailed, {}};
    if (result == 0)
        return NotPrinted{NotPrinted::Reason::NothingFound, std::move(whenEmpty)};
    return std::nullopt;
}

} // namespace medrec::reports
