#include "ReportForms.h"

#include "MsgCom.h"

#include "report_engine/FormLoader.h"
#include "report_engine/Printing.h"
#include "report_engine/QtTextMeasurer.h"
#include "report_engine/ReportError.h"

#include <cstdlib>
#include <filesystem>

namespace medrec::reports {

namespace {

std::filesystem::path environmentPath(const char *variable, const char *fallback)
{
    const char *value = std::getenv(variable);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path(fallback);
}

} // namespace

report::Form LoadReportForm(const std::string &unit, const std::string &name)
{
    const auto forms = environmentPath("MEDREC_FORMS_DIR", MEDREC_REPORTS_SOURCE_DIR);
    const auto logos = environmentPath("MEDREC_LOGO_DIR", MEDREC_LOGO_DIR);
    return report::loadForm(name, {forms / unit, forms}, report::LoadOptions{{logos}});
}

bool PrintReport(report::Report &report, const std::string &kindCode, const std::string &patientNo,
                 QWidget *parent)
{
    report::QtTextMeasurer measurer;
    report::Document document;
    try {
        document = report.run(measurer);
    } catch (const report::ReportError &e) {
        // What the filled values cannot print as (a barcode text Code 39 cannot encode).
        middleware::PlainMessage("출력하지 못했습니다. " + std::string(e.what()));
        return false;
    }
    const report::PrintResult printed = report::printDocument(document, {kindCode, patientNo, parent});
    if (!printed.ok) {
        middleware::PlainMessage("출력하지 못했습니다. " + printed.error);
        return false;
    }
    return true;
}

} // namespace medrec::reports
