#include "ReportForms.h"

#include "MsgCom.h"

#include "report_engine/FormLoader.h"
#include "report_engine/Printing.h"
#include "report_engine/QtTextMeasurer.h"

#include "DataPaths.h"

namespace medrec::reports {

report::Form LoadReportForm(const std::string &unit, const std::string &name)
{
    const auto forms = paths::locate(paths::Data::Forms);
    const auto logos = paths::locate(paths::Data::Logo);
    return report::loadForm(name, {forms / unit, forms}, report::LoadOptions{{logos}});
}

bool PrintReport(report::Report &report, const std::string &kindCode, const std::string &patientNo,
                 QWidget *parent)
{
    report::QtTextMeasurer measurer;
    const report::Document document = report.run(measurer);
    const report::PrintResult printed = report::printDocument(document, {kindCode, patientNo, parent});
    if (!printed.ok) {
        middleware::PlainMessage("출력하지 못했습니다. " + printed.error);
        return false;
    }
    return true;
}

} // namespace medrec::reports
