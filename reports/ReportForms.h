#pragma once

// Loading a record kind's form file and printing the filled report.

#include "report_engine/Report.h"

#include <string>

class QWidget;

namespace medrec::reports {

// The form "<name>.json" of a report unit, from MEDREC_FORMS_DIR when set, else from the
// unit's folder of the source tree; pictures from the site's logo folder.
report::Form LoadReportForm(const std::string &unit, const std::string &name);

// Lays the report out with the real faces and prints it where printing goes (the default
// printer, or MEDREC_PRINT_TO). False, with the reason shown to the operator, when the
// document did not go out: then no history row may be written.
bool PrintReport(report::Report &report, const std::string &kindCode, const std::string &patientNo,
                 QWidget *parent);

} // namespace medrec::reports
